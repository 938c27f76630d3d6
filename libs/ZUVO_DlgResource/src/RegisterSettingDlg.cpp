#include "RegisterSettingDlg.h"

#include <commctrl.h>

#include "DlgResourceIds.h"
#include "HexText.h"
#include "TextFormat.h"
#include "ZUVO_Common.h"

namespace zuvo::dlg {

namespace {

constexpr int kAddressDigits = 4;
constexpr int kValueDigits = 8;
// "0x", the digits and room for leading zeros and blanks.
constexpr int kFieldLimit = 16;

// Error texts of one field, by what was wrong.
struct FieldErrors {
    UINT empty;
    UINT notHex;
    UINT outOfRange;
};
constexpr FieldErrors kAddressErrors{IDS_REGISTER_ADDRESS_EMPTY, IDS_REGISTER_ADDRESS_NOT_HEX,
                                     IDS_REGISTER_ADDRESS_RANGE};
constexpr FieldErrors kValueErrors{IDS_REGISTER_VALUE_EMPTY, IDS_REGISTER_VALUE_NOT_HEX,
                                   IDS_REGISTER_VALUE_RANGE};

UINT ErrorTextId(const FieldErrors& errors, HexError error) {
    switch (error) {
        case HexError::Empty:
            return errors.empty;
        case HexError::NotHex:
            return errors.notHex;
        default:
            return errors.outOfRange;
    }
}

}  // namespace

RegisterSettingDlg::RegisterSettingDlg(tagRADARPARAMETER& record)
    : m_record(record), m_table(record) {}

INT_PTR RegisterSettingDlg::Run(HWND parent) {
    m_parent = parent;
    if (m_table.CountWasRepaired()) {
        DbgOutputA(2, "ZUVO_RegisterSettingDlg: RegisterCount %d out of range, %d shown\r\n",
                   m_record.RegisterCount, m_table.Count());
    }
    INT_PTR result = RunModal(parent, IDD_REGISTER_SETTINGS);
    return result == IDOK ? IDOK : IDCANCEL;
}

INT_PTR RegisterSettingDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageW(Window(), IDC_REGISTER_ADDRESS, EM_LIMITTEXT, kFieldLimit, 0);
            SendDlgItemMessageW(Window(), IDC_REGISTER_VALUE, EM_LIMITTEXT, kFieldLimit, 0);
            InitList();
            FillList(-1);
            CentreOn(m_parent);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_REGISTER_ADD:
                    AddRow();
                    return TRUE;
                case IDC_REGISTER_UPDATE:
                    UpdateRow();
                    return TRUE;
                case IDC_REGISTER_DELETE:
                    DeleteRow();
                    return TRUE;
                case IDOK:
                    m_table.StoreInto(m_record);
                    EndDialog(Window(), IDOK);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(Window(), IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDC_REGISTER_LIST && header->code == LVN_ITEMCHANGED &&
                (reinterpret_cast<const NMLISTVIEW*>(lParam)->uChanged & LVIF_STATE) != 0) {
                OnSelectionChanged();
            }
            return FALSE;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == GetDlgItem(Window(), IDC_REGISTER_ERROR)) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, RGB(192, 0, 0));
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            }
            return FALSE;
        default:
            return FALSE;
    }
}

void RegisterSettingDlg::InitList() {
    HWND list = GetDlgItem(Window(), IDC_REGISTER_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    // Column widths in dialog units, so they follow the template's font.
    RECT widths{0, 0, 60, 90};
    MapDialogRect(Window(), &widths);
    UINT titles[] = {IDS_REGISTER_COLUMN_ADDRESS, IDS_REGISTER_COLUMN_VALUE};
    int pixels[] = {widths.right, widths.bottom};
    for (int i = 0; i < 2; ++i) {
        std::wstring title = Text(titles[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = title.data();
        column.cx = pixels[i];
        column.iSubItem = i;
        ListView_InsertColumn(list, i, &column);
    }
}

void RegisterSettingDlg::FillList(int selectRow) {
    HWND list = GetDlgItem(Window(), IDC_REGISTER_LIST);
    m_filling = true;
    ListView_DeleteAllItems(list);
    for (int row = 0; row < m_table.Count(); ++row) {
        const tagRADARREGISTER* entry = m_table.Row(row);
        std::wstring address = FormatHex(entry->Address, kAddressDigits);
        std::wstring value = FormatHex(entry->Value, kValueDigits);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = address.data();
        ListView_InsertItem(list, &item);
        ListView_SetItemText(list, row, 1, value.data());
    }
    if (m_table.Row(selectRow) != nullptr) {
        ListView_SetItemState(list, selectRow, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, selectRow, FALSE);
    }
    m_filling = false;
    ShowSelectedRow();
    SetItemText(IDC_REGISTER_COUNT,
                FormatText(Text(IDS_REGISTER_COUNT), {std::to_wstring(m_table.Count()),
                                                      std::to_wstring(RADAR_MAX_REGISTERS)}));
    UpdateControls();
}

void RegisterSettingDlg::UpdateControls() {
    bool selected = SelectedRow() >= 0;
    EnableWindow(GetDlgItem(Window(), IDC_REGISTER_ADD), !m_table.IsFull());
    EnableWindow(GetDlgItem(Window(), IDC_REGISTER_UPDATE), selected);
    EnableWindow(GetDlgItem(Window(), IDC_REGISTER_DELETE), selected);
}

int RegisterSettingDlg::SelectedRow() const {
    return ListView_GetNextItem(GetDlgItem(Window(), IDC_REGISTER_LIST), -1, LVNI_SELECTED);
}

void RegisterSettingDlg::OnSelectionChanged() {
    if (m_filling) {
        return;
    }
    ShowSelectedRow();
    UpdateControls();
}

void RegisterSettingDlg::ShowSelectedRow() {
    const tagRADARREGISTER* entry = m_table.Row(SelectedRow());
    if (entry != nullptr) {
        SetItemText(IDC_REGISTER_ADDRESS, FormatHex(entry->Address, kAddressDigits));
        SetItemText(IDC_REGISTER_VALUE, FormatHex(entry->Value, kValueDigits));
        ShowError(std::wstring());
    }
}

void RegisterSettingDlg::AddRow() {
    uint16_t address = 0;
    uint32_t value = 0;
    if (!ReadFields(address, value)) {
        return;
    }
    TableResult result = m_table.Add(address, value);
    ShowTableResult(result, address);
    if (result == TableResult::Ok) {
        FillList(m_table.Count() - 1);
    }
}

void RegisterSettingDlg::UpdateRow() {
    int row = SelectedRow();
    uint16_t address = 0;
    uint32_t value = 0;
    if (row < 0 || !ReadFields(address, value)) {
        return;
    }
    TableResult result = m_table.Update(row, address, value);
    ShowTableResult(result, address);
    if (result == TableResult::Ok) {
        FillList(row);
    }
}

void RegisterSettingDlg::DeleteRow() {
    int row = SelectedRow();
    if (m_table.Remove(row) != TableResult::Ok) {
        return;
    }
    ShowError(std::wstring());
    FillList(row < m_table.Count() ? row : m_table.Count() - 1);
}

bool RegisterSettingDlg::ReadFields(uint16_t& address, uint32_t& value) {
    struct Field {
        int id;
        uint32_t maximum;
        int digits;
        const FieldErrors& errors;
    };
    const Field fields[] = {
        {IDC_REGISTER_ADDRESS, kMaxRegisterAddress, kAddressDigits, kAddressErrors},
        {IDC_REGISTER_VALUE, kMaxRegisterValue, kValueDigits, kValueErrors}};
    uint32_t parsed[2] = {};
    for (int i = 0; i < 2; ++i) {
        std::wstring text = ItemText(fields[i].id);
        HexParse result = ParseHex(text, fields[i].maximum);
        if (result.error != HexError::None) {
            ShowError(FormatText(Text(ErrorTextId(fields[i].errors, result.error)),
                                 {text, FormatHex(fields[i].maximum, fields[i].digits)}));
            HWND edit = GetDlgItem(Window(), fields[i].id);
            SendMessageW(Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            return false;
        }
        parsed[i] = result.value;
    }
    address = static_cast<uint16_t>(parsed[0]);
    value = parsed[1];
    return true;
}

void RegisterSettingDlg::ShowTableResult(TableResult result, uint16_t address) {
    switch (result) {
        case TableResult::Ok:
        case TableResult::NoSuchRow:
            ShowError(std::wstring());
            break;
        case TableResult::Full:
            ShowError(FormatText(Text(IDS_REGISTER_FULL), {std::to_wstring(RADAR_MAX_REGISTERS)}));
            break;
        case TableResult::DuplicateAddress:
            ShowError(
                FormatText(Text(IDS_REGISTER_DUPLICATE), {FormatHex(address, kAddressDigits)}));
            break;
    }
}

void RegisterSettingDlg::ShowError(const std::wstring& text) {
    SetItemText(IDC_REGISTER_ERROR, text);
}

}  // namespace zuvo::dlg
