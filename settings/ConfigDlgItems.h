// The algorithm choice of the parameter dialog: which list item shows a parameter record, and
// which record fields each item sets. Portable, so the table is tested natively.
#pragma once

#include "ZUVO_DataProcess.h"

namespace zuvo {

// The items of the algorithm list, in the order the list shows them.
enum ConfigAlgorithmItem : int {
    kConfigItemPcMtt = 0,    // tracking on this computer with MTT
    kConfigItemPcMod = 1,    // tracking on this computer with MOD
    kConfigItemMcuMtt = 2,   // tracking on the sensor with MTT
    kConfigItemMcuMtt2 = 3,  // tracking on the sensor with MTT2
};
inline constexpr int kConfigAlgorithmItemCount = 4;

// The item that shows record's choice. Tracking on the sensor with an algorithm the list does
// not know shows "PC MTT"; tracking on this computer with anything but MTT shows "PC MOD".
int ConfigItemForRecord(const tagRADARPARAMETER& record) noexcept;

// Sets the fields of record that item stands for; the other fields keep their values. An index
// outside the list (no selection: -1) changes nothing.
void ApplyConfigItem(int item, tagRADARPARAMETER& record) noexcept;

// Whether two records agree in every field an item sets (ProcessSite, the algorithms and their
// flags, codes and values), whatever their other fields hold.
bool SameAlgorithmFields(const tagRADARPARAMETER& a, const tagRADARPARAMETER& b) noexcept;

}  // namespace zuvo
