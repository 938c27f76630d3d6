#include "RegisterTable.h"

#include <algorithm>

namespace zuvo::dlg {

RegisterTable::RegisterTable(const tagRADARPARAMETER& record) {
    int count = std::clamp(record.RegisterCount, 0, RADAR_MAX_REGISTERS);
    m_countRepaired = count != record.RegisterCount;
    m_rows.assign(record.Registers, record.Registers + count);
}

const tagRADARREGISTER* RegisterTable::Row(int row) const {
    if (row < 0 || row >= Count()) {
        return nullptr;
    }
    return &m_rows[static_cast<size_t>(row)];
}

int RegisterTable::FindAddress(uint16_t address) const {
    for (int i = 0; i < Count(); ++i) {
        if (m_rows[static_cast<size_t>(i)].Address == address) {
            return i;
        }
    }
    return -1;
}

bool RegisterTable::AddressUsedElsewhere(uint16_t address, int exceptRow) const {
    for (int i = 0; i < Count(); ++i) {
        if (i != exceptRow && m_rows[static_cast<size_t>(i)].Address == address) {
            return true;
        }
    }
    return false;
}

TableResult RegisterTable::Add(uint16_t address, uint32_t value) {
    if (IsFull()) {
        return TableResult::Full;
    }
    if (AddressUsedElsewhere(address, -1)) {
        return TableResult::DuplicateAddress;
    }
    tagRADARREGISTER entry{};
    entry.Address = address;
    entry.Value = value;
    m_rows.push_back(entry);
    return TableResult::Ok;
}

TableResult RegisterTable::Update(int row, uint16_t address, uint32_t value) {
    if (Row(row) == nullptr) {
        return TableResult::NoSuchRow;
    }
    if (AddressUsedElsewhere(address, row)) {
        return TableResult::DuplicateAddress;
    }
    tagRADARREGISTER& entry = m_rows[static_cast<size_t>(row)];
    entry.Address = address;
    entry.Value = value;
    return TableResult::Ok;
}

TableResult RegisterTable::Remove(int row) {
    if (Row(row) == nullptr) {
        return TableResult::NoSuchRow;
    }
    m_rows.erase(m_rows.begin() + row);
    return TableResult::Ok;
}

void RegisterTable::StoreInto(tagRADARPARAMETER& record) const {
    record.RegisterCount = Count();
    std::fill(std::begin(record.Registers), std::end(record.Registers), tagRADARREGISTER{});
    std::copy(m_rows.begin(), m_rows.end(), record.Registers);
}

}  // namespace zuvo::dlg
