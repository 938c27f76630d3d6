// zuvo::Dialog: a dialog window built from a template of the program's resources in the
// interface language, modal or modeless.
//
// The dialog's window is taken over at WM_INITDIALOG like any control, so its messages reach
// HandleMessage with window-procedure semantics (the answer goes straight back to the
// sender); everything not handled goes on to the dialog manager. Controls are bound to C++
// objects in DoDataExchange (SubclassDlgItem) and draw themselves through reflection.
//
// A modal dialog runs its own message loop, like the classic frameworks, so that
// PreTranslateMessage sees every key before the dialog manager: the loop offers each message
// to zuvo::Window::PreTranslate, then to IsDialogMessage of the dialog it belongs to.
#pragma once

#include "framework/Window.h"

namespace zuvo {

class Dialog : public Window {
public:
    // templateId: the dialog resource; resources: the module holding it (null: the program).
    explicit Dialog(UINT templateId, HMODULE resources = nullptr) noexcept;
    ~Dialog() override;

    // Creates the dialog, shows it and runs until EndDialog; answers EndDialog's result, or
    // -1 when the dialog could not be created. The owner is disabled meanwhile.
    INT_PTR DoModal(HWND owner);
    // Creates the dialog modeless (shown when its template says WS_VISIBLE).
    bool Create(HWND owner);
    // Ends a modal run with the result; a modeless dialog is destroyed.
    void EndDialog(INT_PTR result);

    UINT TemplateId() const noexcept { return m_templateId; }
    bool IsModalRunning() const noexcept { return m_modalRunning; }

    // One step of a message loop that serves dialogs: pre-translation, then the dialog
    // manager of the message's dialog, then translation and dispatch.
    static void PumpMessage(MSG& message);

private:
    // PumpMessage of a modal run. As the classic frameworks route modeless windows through
    // the main window, keystrokes of a modeless window this dialog owns (a tool panel) are
    // offered to this dialog's pre-translation after their own windows', so its shortcuts
    // work wherever the operator's focus is.
    void PumpModalMessage(MSG& message);
    bool IsOwnedModeless(HWND window) const noexcept;
    static void DeliverMessage(MSG& message);

protected:
    // Default: binds nothing.
    virtual void DoDataExchange() {}
    // After DoDataExchange; answer true to let the dialog manager set the focus.
    virtual bool OnInitDialog() { return true; }
    // Enter / IDOK and Esc / IDCANCEL: the defaults end the dialog with IDOK / IDCANCEL.
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Commands (WM_COMMAND) other than IDOK and IDCANCEL; answer true when handled.
    virtual bool OnCommand(UINT id, UINT notification, HWND control);

    // Reflects control notifications, routes IDOK / IDCANCEL and commands; the rest goes to
    // the dialog manager. Derived classes call Dialog::HandleMessage for what they leave.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Destroys the dialog's window (a derived class whose handlers must see WM_DESTROY calls
    // it from its own destructor).
    void DestroyDialogWindow() noexcept;

private:
    HWND CreateFromTemplate(HWND owner);
    static INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam) noexcept;

    UINT m_templateId;
    HMODULE m_resources;
    bool m_modalRunning = false;
    bool m_modal = false;
    INT_PTR m_result = -1;
};

}  // namespace zuvo
