#include "controls/XEdit.h"

#include <commctrl.h>

#include <cwchar>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kAnchorRaise = 2;

// Holds a flag set for a scope.
class FlagScope {
public:
    FlagScope(bool& flag, bool value) : m_flag(flag), m_previous(flag) { m_flag = value; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;
    ~FlagScope() { m_flag = m_previous; }

private:
    bool& m_flag;
    bool m_previous;
};

}  // namespace

CXEdit::CXEdit() : m_background(CreateSolidBrush(kWhite)) {}

CXEdit::~CXEdit() {
    Destroy();
}

void CXEdit::ShowBalloonTip(const wchar_t* title, const wchar_t* text, int icon, int id) {
    if (GetSafeHwnd() == nullptr) {
        return;
    }
    if (m_balloon.GetSafeHwnd() == nullptr && !m_balloon.Create(GetSafeHwnd())) {
        return;
    }
    RECT client;
    GetClientRect(GetSafeHwnd(), &client);
    POINT anchor{client.left, client.bottom - kAnchorRaise};
    ClientToScreen(GetSafeHwnd(), &anchor);
    m_balloon.ShowMessage(title, text, icon, anchor, id);
}

bool CXEdit::IsValidChar(wchar_t, UINT, UINT) {
    return true;
}

bool CXEdit::OnEditChange() {
    return false;
}

bool CXEdit::IsValidValue() {
    return true;
}

LRESULT CXEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
            return OnChar(wParam, lParam);
        case WM_SETTEXT: {
            const FlagScope writing(m_writingText, true);
            return DefaultHandling(message, wParam, lParam);
        }
        case EM_SHOWBALLOONTIP: {
            // Our own balloon instead of the platform's.
            const auto* tip = reinterpret_cast<const EDITBALLOONTIP*>(lParam);
            if (tip == nullptr || tip->cbStruct < sizeof(EDITBALLOONTIP)) {
                return FALSE;
            }
            ShowBalloonTip(tip->pszTitle, tip->pszText, tip->ttiIcon, -1);
            return TRUE;
        }
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

bool CXEdit::OnReflectedMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
    if (message == WM_CTLCOLOREDIT) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kBlack);
        SetBkColor(dc, kWhite);
        *result = reinterpret_cast<LRESULT>(m_background.get());
        return true;
    }
    if (message != WM_COMMAND) {
        return false;
    }
    switch (HIWORD(wParam)) {
        case EN_KILLFOCUS:
            // Without a change since the last commit the owner does not hear of leaving.
            if (!m_modified) {
                return true;
            }
            Commit();
            return false;
        case EN_CHANGE:
            if (m_suppressChange) {
                // A change that is neither a typed character nor text written through the
                // window (the Delete key, the context menu's paste or undo) is still the
                // operator's: the next leave commits it.
                if (!m_typing && !m_writingText) {
                    m_modified = true;
                }
                return true;
            }
            return OnEditChange();
        default:
            return false;
    }
}

bool CXEdit::PreTranslateMessage(MSG& message) {
    if (message.hwnd != GetSafeHwnd() || message.message != WM_KEYDOWN ||
        (message.wParam != VK_RETURN && message.wParam != VK_TAB) || !ParentIsDialog()) {
        return false;
    }
    // Enter and Tab (with or without Shift) leave the field forward; the commit runs on the
    // way. Enter never reaches the dialog's default button.
    SendMessageW(GetParent(GetSafeHwnd()), WM_NEXTDLGCTL, 0, 0);
    if (GetFocus() == GetSafeHwnd() && m_modified) {
        Commit();
    }
    return true;
}

std::wstring CXEdit::Text() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(GetSafeHwnd())) + 1, L'\0');
    const int length = GetWindowTextW(GetSafeHwnd(), text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(length));
    return text;
}

void CXEdit::SetTextAndNotify(const std::wstring& text) {
    const FlagScope announced(m_suppressChange, false);
    SetWindowTextW(GetSafeHwnd(), text.c_str());
}

LRESULT CXEdit::OnChar(WPARAM wParam, LPARAM lParam) {
    const std::wstring before = Text();
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    SendMessageW(GetSafeHwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                 reinterpret_cast<LPARAM>(&selectionEnd));
    m_suppressChange = true;
    LRESULT result = 0;
    bool accepted = false;
    {
        const FlagScope typing(m_typing, true);
        result = DefaultHandling(WM_CHAR, wParam, lParam);
        accepted = IsValidChar(static_cast<wchar_t>(wParam), LOWORD(lParam), HIWORD(lParam));
        if (!accepted) {
            SetWindowTextW(GetSafeHwnd(), before.c_str());
            SendMessageW(GetSafeHwnd(), EM_SETSEL, selectionStart, selectionEnd);
        }
    }
    if (accepted) {
        m_modified = true;
    }
    return result;
}

void CXEdit::Commit() {
    m_modified = false;
    if (IsValidValue()) {
        NotifyOwnerOfChange();
    }
}

void CXEdit::NotifyOwnerOfChange() {
    const FlagScope announced(m_suppressChange, false);
    const HWND window = GetSafeHwnd();
    const auto id = static_cast<WORD>(GetDlgCtrlID(window));
    SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(id, EN_CHANGE),
                 reinterpret_cast<LPARAM>(window));
}

bool CXEdit::ParentIsDialog() const {
    wchar_t name[16] = {};
    const HWND parent = GetParent(GetSafeHwnd());
    return parent != nullptr && GetClassNameW(parent, name, 16) > 0 &&
           std::wcscmp(name, L"#32770") == 0;
}
