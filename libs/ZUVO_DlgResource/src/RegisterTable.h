// The register table of a radar parameter record while the operator edits it: a list of
// address/value pairs in the record's order, at most RADAR_MAX_REGISTERS long, each address at
// most once among the rows the operator adds or changes.
#pragma once

#include <cstdint>
#include <vector>

#include "ZUVO_DataProcess.h"

namespace zuvo::dlg {

constexpr uint32_t kMaxRegisterAddress = 0xFFFF;
constexpr uint32_t kMaxRegisterValue = 0xFFFFFFFF;

enum class TableResult {
    Ok,
    Full,              // the record holds no more registers
    DuplicateAddress,  // another row has this address
    NoSuchRow,
};

class RegisterTable {
public:
    // Copies the record's registers. A RegisterCount outside 0 .. RADAR_MAX_REGISTERS (a
    // damaged record) is limited to that range, so no entry outside the array is ever read.
    explicit RegisterTable(const tagRADARPARAMETER& record);

    // True when the record's RegisterCount had to be limited.
    bool CountWasRepaired() const { return m_countRepaired; }

    int Count() const { return static_cast<int>(m_rows.size()); }
    bool IsFull() const { return Count() >= RADAR_MAX_REGISTERS; }
    // The row, or null past the end.
    const tagRADARREGISTER* Row(int row) const;
    // Index of the first row with the address, or -1.
    int FindAddress(uint16_t address) const;

    // Appends a row.
    TableResult Add(uint16_t address, uint32_t value);
    // Changes a row's address and value; its reserved field stays.
    TableResult Update(int row, uint16_t address, uint32_t value);
    TableResult Remove(int row);

    // Writes the rows into the record: RegisterCount and the used entries; the entries past
    // the count are cleared so no old register can come back with a larger count. Nothing
    // else in the record changes.
    void StoreInto(tagRADARPARAMETER& record) const;

private:
    bool AddressUsedElsewhere(uint16_t address, int exceptRow) const;

    std::vector<tagRADARREGISTER> m_rows;
    bool m_countRepaired = false;
};

}  // namespace zuvo::dlg
