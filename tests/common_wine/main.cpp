// Test program of the utility library's Windows half. Started with
// "--child-instance <name>" it acts as a second process for the single-instance test and
// exits with the answer of CheckSingleInstanceW.
#include <gtest/gtest.h>

#include <cwchar>

#include "ZUVO_Common.h"

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"--child-instance") == 0) {
        return CheckSingleInstanceW(argv[2]);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
