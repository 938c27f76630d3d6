// The register editor's table: what it reads from a record, how edits are refused, and that
// writing back changes the register table of the record and nothing else.
#include <cstring>

#include <gtest/gtest.h>

#include "RegisterTable.h"

namespace {

using zuvo::dlg::RegisterTable;
using zuvo::dlg::TableResult;

tagRADARPARAMETER RecordWith(std::initializer_list<std::pair<uint16_t, uint32_t>> registers) {
    tagRADARPARAMETER record;
    // Every byte set, so a field the table should not touch is recognisable.
    std::memset(&record, 0x5A, sizeof(record));
    record.RegisterCount = static_cast<int>(registers.size());
    int i = 0;
    for (auto [address, value] : registers) {
        record.Registers[i].Address = address;
        record.Registers[i].Reserved = 0x1234;
        record.Registers[i].Value = value;
        ++i;
    }
    return record;
}

TEST(RegisterTable, ReadsTheRecordInItsOrder) {
    tagRADARPARAMETER record = RecordWith({{0x20, 7}, {0x10, 0xFFFFFFFF}});
    RegisterTable table(record);
    ASSERT_EQ(table.Count(), 2);
    EXPECT_FALSE(table.CountWasRepaired());
    EXPECT_EQ(table.Row(0)->Address, 0x20);
    EXPECT_EQ(table.Row(1)->Value, 0xFFFFFFFFu);
    EXPECT_EQ(table.Row(2), nullptr);
    EXPECT_EQ(table.Row(-1), nullptr);
    EXPECT_EQ(table.FindAddress(0x10), 1);
    EXPECT_EQ(table.FindAddress(0x30), -1);
}

TEST(RegisterTable, DamagedCountsNeverReadOutsideTheArray) {
    tagRADARPARAMETER record = RecordWith({{1, 1}});
    record.RegisterCount = -5;
    RegisterTable negative(record);
    EXPECT_EQ(negative.Count(), 0);
    EXPECT_TRUE(negative.CountWasRepaired());

    record.RegisterCount = RADAR_MAX_REGISTERS + 1000;
    RegisterTable huge(record);
    EXPECT_EQ(huge.Count(), RADAR_MAX_REGISTERS);
    EXPECT_TRUE(huge.CountWasRepaired());
    EXPECT_TRUE(huge.IsFull());
}

TEST(RegisterTable, EditsRefuseDuplicatesFullTablesAndMissingRows) {
    tagRADARPARAMETER record = RecordWith({{0x10, 1}, {0x20, 2}});
    RegisterTable table(record);
    EXPECT_EQ(table.Add(0x10, 9), TableResult::DuplicateAddress);
    EXPECT_EQ(table.Update(1, 0x10, 9), TableResult::DuplicateAddress);
    EXPECT_EQ(table.Update(1, 0x20, 9), TableResult::Ok) << "a row may keep its own address";
    EXPECT_EQ(table.Row(1)->Value, 9u);
    EXPECT_EQ(table.Update(2, 0x30, 0), TableResult::NoSuchRow);
    EXPECT_EQ(table.Remove(-1), TableResult::NoSuchRow);
    EXPECT_EQ(table.Remove(2), TableResult::NoSuchRow);
    EXPECT_EQ(table.Count(), 2);

    for (uint16_t address = 0x100; !table.IsFull(); ++address) {
        ASSERT_EQ(table.Add(address, address), TableResult::Ok);
    }
    EXPECT_EQ(table.Count(), RADAR_MAX_REGISTERS);
    EXPECT_EQ(table.Add(0xFFFF, 0), TableResult::Full);
    EXPECT_EQ(table.Remove(0), TableResult::Ok);
    EXPECT_EQ(table.Row(0)->Address, 0x20) << "rows after the removed one move up";
    EXPECT_EQ(table.Add(0xFFFF, 0), TableResult::Ok);
}

TEST(RegisterTable, StoringChangesOnlyTheRegisters) {
    tagRADARPARAMETER record = RecordWith({{0x10, 1}, {0x20, 2}, {0x30, 3}});
    const tagRADARPARAMETER before = record;
    RegisterTable table(record);
    ASSERT_EQ(table.Remove(0), TableResult::Ok);
    ASSERT_EQ(table.Remove(0), TableResult::Ok);
    ASSERT_EQ(table.Add(0x40, 0xCAFE), TableResult::Ok);
    table.StoreInto(record);

    EXPECT_EQ(record.RegisterCount, 2);
    EXPECT_EQ(record.Registers[0].Address, 0x30);
    EXPECT_EQ(record.Registers[0].Reserved, 0x1234) << "a kept row keeps its reserved field";
    EXPECT_EQ(record.Registers[1].Address, 0x40);
    EXPECT_EQ(record.Registers[1].Value, 0xCAFEu);
    for (int i = 2; i < RADAR_MAX_REGISTERS; ++i) {
        EXPECT_EQ(record.Registers[i].Address, 0) << "entry " << i;
        EXPECT_EQ(record.Registers[i].Value, 0u) << "entry " << i;
    }
    // Everything before the register table is exactly as it was.
    EXPECT_EQ(std::memcmp(&record, &before, offsetof(tagRADARPARAMETER, RegisterCount)), 0);
}

TEST(RegisterTable, StoringAnUntouchedTableKeepsTheRegisters) {
    tagRADARPARAMETER record = RecordWith({{0x10, 1}, {0xFFFF, 0xFFFFFFFF}});
    tagRADARPARAMETER copy = record;
    RegisterTable(record).StoreInto(copy);
    EXPECT_EQ(copy.RegisterCount, 2);
    EXPECT_EQ(std::memcmp(copy.Registers, record.Registers, 2 * sizeof(tagRADARREGISTER)), 0);
}

}  // namespace
