// The register editor: a modal list of the record's registers (address and value in
// hexadecimal) with fields to add, change and delete rows. The record changes only on OK.
#pragma once

#include <cstdint>

#include "ModuleDialog.h"
#include "RegisterTable.h"

namespace zuvo::dlg {

class RegisterSettingDlg : public ModuleDialog {
public:
    explicit RegisterSettingDlg(tagRADARPARAMETER& record);

    // Answers IDOK (the record holds the edited table) or IDCANCEL (the record is untouched).
    INT_PTR Run(HWND parent);

private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void InitList();
    void FillList(int selectRow);
    void UpdateControls();
    int SelectedRow() const;
    void OnSelectionChanged();
    // Puts the selected row into the fields (nothing selected: the fields stay).
    void ShowSelectedRow();
    void AddRow();
    void UpdateRow();
    void DeleteRow();
    // Reads both fields; on a bad one shows why, puts the caret there and answers false.
    bool ReadFields(uint16_t& address, uint32_t& value);
    // Shows the reason of a refused edit (TableResult::Ok clears the message).
    void ShowTableResult(TableResult result, uint16_t address);
    void ShowError(const std::wstring& text);

    tagRADARPARAMETER& m_record;
    HWND m_parent = nullptr;
    RegisterTable m_table;
    bool m_filling = false;  // selection changes made by FillList itself
};

}  // namespace zuvo::dlg
