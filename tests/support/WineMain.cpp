#include "tests/support/WineMain.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

#include "tests/support/UtilityFlavour.h"

namespace zuvo::test {

namespace {

// In a function: the hooks are set from other sources' static initialisers, whose order
// against this file's is not defined.
WineMainHooks& Hooks() {
    static WineMainHooks hooks;
    return hooks;
}

}  // namespace

bool SetWineMainHooks(WineMainHooks hooks) {
    Hooks() = std::move(hooks);
    return true;
}

}  // namespace zuvo::test

int wmain(int argc, wchar_t** argv) {
    const zuvo::test::WineMainHooks& hooks = zuvo::test::Hooks();
    if (hooks.instead) {
        if (const std::optional<int> exitCode = hooks.instead(argc, argv)) {
            return *exitCode;
        }
    }
    testing::InitGoogleTest(&argc, argv);
    // A test of one flavour that ran with the other would pass without testing anything.
    if (std::wstring error; !zuvo::test::CheckUtilityFlavour(&error)) {
        std::fwprintf(stderr, L"%ls\n", error.c_str());
        return 1;
    }
    if (hooks.prepare) {
        std::wstring error;
        if (!hooks.prepare(&error)) {
            std::fwprintf(stderr, L"%ls\n", error.c_str());
            return 1;
        }
    }
    // GoogleTest owns and deletes its environments.
    testing::AddGlobalTestEnvironment(new zuvo::test::GdiplusEnvironment(
        hooks.startGdiplus ? hooks.startGdiplus : zuvo::test::StartGdiplusSession));
    return RUN_ALL_TESTS();
}
