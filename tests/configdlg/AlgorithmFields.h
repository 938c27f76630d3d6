// The record fields an algorithm choice writes, as the tests expect them after a choice.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ZUVO_DataProcess.h"
#include "settings/ConfigDlgItems.h"

namespace configtest {

struct AlgorithmFields {
    int processSite;
    int hostAlgorithm;
    int sensorAlgorithm;
    int sensorAlgorithmOption;
    int sensorAlgorithmCode;
    int hostProcessFlag1;
    int hostProcessFlag2;
    int hostProcessValue;
};

// A choice of list item and the fields expected after it.
struct ChoiceCase {
    int item;
    AlgorithmFields fields;
};

// The list item as a test name: each table has one row per item.
inline std::string ItemName(int item) {
    switch (item) {
        case zuvo::kConfigItemPcMtt:
            return "PcMtt";
        case zuvo::kConfigItemPcMod:
            return "PcMod";
        case zuvo::kConfigItemMcuMtt:
            return "McuMtt";
        case zuvo::kConfigItemMcuMtt2:
            return "McuMtt2";
        default:
            return "Item" + std::to_string(item);
    }
}

inline std::string ChoiceName(const testing::TestParamInfo<ChoiceCase>& row) {
    return ItemName(row.param.item);
}

inline void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << "item " << c.item << " (" << ItemName(c.item) << ")";
}

// Every choice also marks the algorithm as selected.
inline void ExpectAlgorithmFields(const tagRADARPARAMETER& record,
                                  const AlgorithmFields& expected) {
    EXPECT_EQ(record.ProcessSite, expected.processSite);
    EXPECT_EQ(record.HostAlgorithm, expected.hostAlgorithm);
    EXPECT_EQ(record.SensorAlgorithm, expected.sensorAlgorithm);
    EXPECT_EQ(record.SensorAlgorithmOption, expected.sensorAlgorithmOption);
    EXPECT_EQ(record.SensorAlgorithmCode, expected.sensorAlgorithmCode);
    EXPECT_EQ(record.HostProcessFlag1, expected.hostProcessFlag1);
    EXPECT_EQ(record.HostProcessFlag2, expected.hostProcessFlag2);
    EXPECT_EQ(record.HostProcessValue, expected.hostProcessValue);
    EXPECT_EQ(record.AlgorithmSelectFlag, 1);
}

}  // namespace configtest
