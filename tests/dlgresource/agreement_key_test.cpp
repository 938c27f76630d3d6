// The product name becomes one registry key under Software\ZUVO, never a path into others.
#include <string>

#include <gtest/gtest.h>

#include "AgreementKey.h"

namespace {

using zuvo::dlg::AgreementKeyPath;

TEST(AgreementKey, ProductNameIsOneKeyUnderTheMaker) {
    EXPECT_EQ(AgreementKeyPath(L"QZB-TQ3800_TOOL"),
              std::wstring(L"Software\\ZUVO\\QZB-TQ3800_TOOL"));
    EXPECT_EQ(AgreementKeyPath(L"\x96F7\x8FBE \x5DE5\x5177"),
              std::wstring(L"Software\\ZUVO\\\x96F7\x8FBE \x5DE5\x5177"));
    EXPECT_EQ(AgreementKeyPath(std::wstring(255, L'a')),
              L"Software\\ZUVO\\" + std::wstring(255, L'a'));
}

TEST(AgreementKey, NamesThatAreNoSingleKeyAreRefused) {
    EXPECT_FALSE(AgreementKeyPath(L""));
    EXPECT_FALSE(AgreementKeyPath(L"..\\..\\Microsoft"));
    EXPECT_FALSE(AgreementKeyPath(L"Tool\\Sub"));
    EXPECT_FALSE(AgreementKeyPath(L"Tool\nName"));
    EXPECT_FALSE(AgreementKeyPath(std::wstring(L"Tool\0Name", 9)));
    EXPECT_FALSE(AgreementKeyPath(std::wstring(256, L'a')));
}

}  // namespace
