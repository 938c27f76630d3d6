// The algorithm list against parameter records: which item a record shows, and what each
// choice writes into the record while every other field keeps its value.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "AlgorithmFields.h"
#include "settings/ConfigDlgItems.h"

namespace {

using zuvo::ApplyConfigItem;
using zuvo::ConfigItemForRecord;

// A record whose every byte is 0x5A, so a field that is written stands out.
tagRADARPARAMETER Filled() {
    tagRADARPARAMETER record;
    std::memset(&record, 0x5A, sizeof(record));
    return record;
}

constexpr int kUntouched = 0x5A5A5A5A;
constexpr int64_t kUntouched64 = 0x5A5A5A5A5A5A5A5A;

struct ShownCase {
    const char* name;
    int processSite;
    int hostAlgorithm;
    int sensorAlgorithm;
    int item;
};

void PrintTo(const ShownCase& c, std::ostream* os) {
    *os << "site " << c.processSite << ", host algorithm " << c.hostAlgorithm
        << ", sensor algorithm " << c.sensorAlgorithm;
}

class ItemShown : public testing::TestWithParam<ShownCase> {};

TEST_P(ItemShown, FollowsProcessSiteAndAlgorithm) {
    const ShownCase& c = GetParam();
    tagRADARPARAMETER record = Filled();
    record.ProcessSite = c.processSite;
    record.HostAlgorithm = c.hostAlgorithm;
    record.SensorAlgorithm = c.sensorAlgorithm;
    EXPECT_EQ(ConfigItemForRecord(record), c.item);
}

INSTANTIATE_TEST_SUITE_P(
    Records, ItemShown,
    testing::Values(ShownCase{"PcWithMtt", 0, 3, 1, zuvo::kConfigItemPcMtt},
                    ShownCase{"PcWithMod", 0, 1, 0, zuvo::kConfigItemPcMod},
                    // Any host algorithm but MTT shows MOD, also "none".
                    ShownCase{"PcWithoutAlgorithm", 0, 0, 0, zuvo::kConfigItemPcMod},
                    ShownCase{"PcWithUnknownAlgorithm", 0, 7, 0, zuvo::kConfigItemPcMod},
                    // The host algorithm decides for every site that is not the sensor.
                    ShownCase{"OtherSiteWithMtt", 5, 3, 0, zuvo::kConfigItemPcMtt},
                    ShownCase{"SensorWithMtt", 10, 3, 0, zuvo::kConfigItemMcuMtt},
                    ShownCase{"SensorWithMtt2", 10, 0, 1, zuvo::kConfigItemMcuMtt2},
                    // An unknown sensor algorithm falls back to the first item.
                    ShownCase{"SensorWithUnknownAlgorithm", 10, 1, 7, zuvo::kConfigItemPcMtt},
                    ShownCase{"SensorWithNegativeAlgorithm", 10, 1, -1, zuvo::kConfigItemPcMtt}),
    [](const testing::TestParamInfo<ShownCase>& row) { return std::string(row.param.name); });

// What each choice leaves in a record: kUntouched marks a field the choice must not write.
class ItemChosen : public testing::TestWithParam<configtest::ChoiceCase> {};

TEST_P(ItemChosen, SetsItsFieldsAndNothingElse) {
    const configtest::ChoiceCase& c = GetParam();
    tagRADARPARAMETER record = Filled();
    ApplyConfigItem(c.item, record);
    configtest::ExpectAlgorithmFields(record, c.fields);
    EXPECT_EQ(record.GateCount, kUntouched);
    EXPECT_EQ(record.RegisterCount, kUntouched);
}

constexpr int k = kUntouched;
using configtest::ChoiceCase;
INSTANTIATE_TEST_SUITE_P(
    Items, ItemChosen,
    testing::Values(ChoiceCase{zuvo::kConfigItemPcMtt, {0, 3, k, k, k, 1, 1, k}},
                    ChoiceCase{zuvo::kConfigItemPcMod, {0, 1, k, k, k, 1, 1, 64}},
                    ChoiceCase{zuvo::kConfigItemMcuMtt, {10, 0, 0, 0, 20, k, k, k}},
                    ChoiceCase{zuvo::kConfigItemMcuMtt2, {10, 0, 1, k, 30, k, k, k}}),
    configtest::ChoiceName);

TEST(ItemSequence, LaterChoicesKeepWhatEarlierOnesSet) {
    tagRADARPARAMETER record = Filled();
    ApplyConfigItem(zuvo::kConfigItemPcMod, record);
    ApplyConfigItem(zuvo::kConfigItemPcMtt, record);
    EXPECT_EQ(record.HostAlgorithm, 3);
    EXPECT_EQ(record.HostProcessValue, 64);

    ApplyConfigItem(zuvo::kConfigItemMcuMtt2, record);
    ApplyConfigItem(zuvo::kConfigItemMcuMtt, record);
    ApplyConfigItem(zuvo::kConfigItemMcuMtt2, record);
    EXPECT_EQ(record.SensorAlgorithmOption, 0) << "set by MCU MTT, left by MCU MTT2";
    EXPECT_EQ(record.HostProcessFlag1, 1);
}

TEST(ItemSequence, NoSelectionOrAnUnknownIndexChangesNothing) {
    for (int item : {-1, 4, 100}) {
        tagRADARPARAMETER record = Filled();
        ApplyConfigItem(item, record);
        const tagRADARPARAMETER untouched = Filled();
        EXPECT_EQ(std::memcmp(&record, &untouched, sizeof(record)), 0) << "item " << item;
        EXPECT_EQ(record.AlgorithmSelectFlag, kUntouched64);
    }
}

// The dialog checks its saved file with this: a record read back must agree in every field a
// choice sets, and only those.
TEST(ItemSequence, AlgorithmFieldsAreComparedFieldByField) {
    const tagRADARPARAMETER chosen = Filled();
    EXPECT_TRUE(zuvo::SameAlgorithmFields(chosen, chosen));
    const std::vector<std::pair<const char*, void (*)(tagRADARPARAMETER&)>> changes = {
        {"ProcessSite", [](tagRADARPARAMETER& r) { r.ProcessSite = 10; }},
        {"HostAlgorithm", [](tagRADARPARAMETER& r) { r.HostAlgorithm = 1; }},
        {"SensorAlgorithm", [](tagRADARPARAMETER& r) { r.SensorAlgorithm = 1; }},
        {"SensorAlgorithmOption", [](tagRADARPARAMETER& r) { r.SensorAlgorithmOption = 0; }},
        {"SensorAlgorithmCode", [](tagRADARPARAMETER& r) { r.SensorAlgorithmCode = 30; }},
        {"HostProcessFlag1", [](tagRADARPARAMETER& r) { r.HostProcessFlag1 = 1; }},
        {"HostProcessFlag2", [](tagRADARPARAMETER& r) { r.HostProcessFlag2 = 1; }},
        {"HostProcessValue", [](tagRADARPARAMETER& r) { r.HostProcessValue = 64; }},
        {"AlgorithmSelectFlag", [](tagRADARPARAMETER& r) { r.AlgorithmSelectFlag = 1; }},
    };
    for (const auto& [field, change] : changes) {
        tagRADARPARAMETER readBack = chosen;
        change(readBack);
        EXPECT_FALSE(zuvo::SameAlgorithmFields(readBack, chosen)) << field;
    }
    tagRADARPARAMETER otherwise = chosen;
    otherwise.GateCount = 7;
    otherwise.DataPath[0] = L'x';
    EXPECT_TRUE(zuvo::SameAlgorithmFields(otherwise, chosen)) << "other fields do not count";
}

TEST(ItemSequence, EveryChoiceIsShownAgainWhenReopened) {
    for (int item = 0; item < zuvo::kConfigAlgorithmItemCount; ++item) {
        tagRADARPARAMETER record = Filled();
        ApplyConfigItem(item, record);
        EXPECT_EQ(ConfigItemForRecord(record), item);
    }
}

}  // namespace
