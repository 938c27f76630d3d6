// Text of the settings file: element and attribute access, number pairs and the language
// choice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/LanguageSetting.h"
#include "settings/XMLParser.h"

namespace zuvo::settings {
namespace {

XMLNode Parse(XMLParser& document, const std::string& text) {
    document.LoadFromData(text.data(), text.size());
    return document.GetRootNode();
}

TEST(XMLNodeAccess, FirstMatchWinsWithoutRegardToCase) {
    XMLParser document;
    const XMLNode root = Parse(
        document, "<AppConfig Mode=\"1\" MODE=\"2\"><Item Id=\"a\"/><ITEM Id=\"b\"/></AppConfig>");
    int32_t mode = 0;
    EXPECT_TRUE(root.GetAttributeValue("mode", DIGITAL_TYPE_INT32, &mode));
    EXPECT_EQ(mode, 1);
    EXPECT_STREQ(root.GetChild("item").GetAttributeText("ID"), "a");
    ASSERT_EQ(root.GetChildren("Item").size(), 2u);
    EXPECT_STREQ(root.GetChildren("Item")[1].GetAttributeText("id"), "b");
    EXPECT_TRUE(root.GetChild("Missing").IsEmpty());
    EXPECT_EQ(root.GetChild("Missing").GetAttributeText("Id"), nullptr);

    // Names differing in a non-ASCII byte or in length do not match.
    EXPECT_FALSE(NamesMatch("AppConfig", "AppConfi"));
    EXPECT_FALSE(NamesMatch("\xc3\x84", "\xc3\xa4"));
    EXPECT_TRUE(NamesMatch("appCONFIG", "AppConfig"));
}

TEST(XMLNodeAccess, AnEmptyHandleRefusesEveryChange) {
    XMLNode empty;
    EXPECT_TRUE(empty.AppendChild("A").IsEmpty());
    EXPECT_FALSE(empty.SetAttribute("A", "1"));
    int32_t value = 5;
    EXPECT_FALSE(empty.GetAttributeValue("A", DIGITAL_TYPE_INT32, &value));
    EXPECT_EQ(value, 5);
    EXPECT_EQ(empty.GetAttributeArray("A", DIGITAL_TYPE_INT32, nullptr, 0), 0);

    XMLParser document;
    XMLNode root = Parse(document, "<AppConfig><A/></AppConfig><Other><B/></Other>");
    EXPECT_FALSE(root.RemoveChild(XMLNode(root.Node().next_sibling().first_child())))
        << "only direct children are removed";
}

TEST(XMLNodeAccess, PairListsSkipMalformedPiecesAndRespectTheLimit) {
    XMLParser document;
    const XMLNode root = Parse(
        document,
        "<AppConfig P=\"10,20; 7; 30,40;;1,2,3; 4,,5; ,6; 0x10, -2 ;50,60\" R=\"1.5,0; 3,-2e1\"/>");
    EXPECT_EQ(root.GetAttributeArray("P", DIGITAL_TYPE_INT32, nullptr, 0), 4);
    int32_t pairs[8] = {};
    EXPECT_EQ(root.GetAttributeArray("P", DIGITAL_TYPE_INT32, pairs, 4), 4);
    EXPECT_EQ(std::vector<int32_t>(pairs, pairs + 8),
              (std::vector<int32_t>{10, 20, 30, 40, 16, -2, 50, 60}));

    int32_t firstTwo[6] = {-1, -1, -1, -1, -1, -1};
    EXPECT_EQ(root.GetAttributeArray("P", DIGITAL_TYPE_INT32, firstTwo, 2), 2);
    EXPECT_EQ(std::vector<int32_t>(firstTwo, firstTwo + 6),
              (std::vector<int32_t>{10, 20, 30, 40, -1, -1}));

    double reals[4] = {};
    EXPECT_EQ(root.GetAttributeArray("R", DIGITAL_TYPE_DOUBLE, reals, 2), 2);
    EXPECT_EQ(std::vector<double>(reals, reals + 4), (std::vector<double>{1.5, 0.0, 3.0, -20.0}));
}

TEST(XMLNodeAccess, SettingAttributesKeepsPositionAndAppendsNewOnes) {
    XMLParser document;
    XMLNode root = Parse(document, "<AppConfig first=\"1\" Second=\"2\"/>");
    EXPECT_TRUE(root.SetAttribute("FIRST", "x<&\"y"));
    EXPECT_TRUE(root.SetAttribute("Third", nullptr));
    EXPECT_TRUE(root.SetAttribute("Second", nullptr));
    EXPECT_TRUE(root.SetAttribute("Fourth", 2.25));
    std::vector<std::string> attributes;
    for (pugi::xml_attribute a : root.Node().attributes()) {
        attributes.push_back(std::string(a.name()) + "=" + a.value());
    }
    EXPECT_EQ(attributes,
              (std::vector<std::string>{"first=x<&\"y", "Second=2", "Third=", "Fourth=2.2"}));
}

TEST(LanguageChoice, ShortNamesMapToLocalesAndOthersPassThrough) {
    EXPECT_EQ(LanguageLocaleName("ENG"), L"en-US");
    EXPECT_EQ(LanguageLocaleName("eng"), L"en-US");
    EXPECT_EQ(LanguageLocaleName("CHS"), L"zh-cn");
    EXPECT_EQ(LanguageLocaleName("cHt"), L"zh-tw");
    EXPECT_EQ(LanguageLocaleName("fr-FR"), L"fr-FR");
    EXPECT_EQ(LanguageLocaleName("ENGLISH"), L"ENGLISH");
    EXPECT_EQ(LanguageLocaleName(""), L"");
    EXPECT_EQ(LanguageLocaleName(nullptr), L"");
    EXPECT_EQ(LanguageLocaleName("\xff"), L"") << "text that does not convert is not used";
    EXPECT_EQ(LanguageLocaleName(std::string(40, 'x').c_str()), std::wstring(31, L'x'));

    XMLParser document;
    Parse(document, "<AppConfig language=\"chs\"/>");
    EXPECT_EQ(ReadLanguageLocale(document), L"zh-cn");
    XMLParser none;
    Parse(none, "<AppConfig/>");
    EXPECT_EQ(ReadLanguageLocale(none), L"");
}

}  // namespace
}  // namespace zuvo::settings
