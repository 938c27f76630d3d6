// CXEdit: a single-line edit control with a fixed look, keyboard commit and its own balloon
// tip.
//
//  - Every typed character passes IsValidChar after it has gone in, and is taken back when
//    refused.
//  - The owner hears one EN_CHANGE per committed value instead of one per keystroke. A commit
//    runs when the operator leaves the field after changing it (Enter and Tab count as
//    leaving); it passes the whole text to IsValidValue, and only an accepted value is
//    announced. EN_KILLFOCUS reaches the owner only when a commit ran.
//  - Messages appear in a CBalloonWnd that hangs below the edit.
//
// It takes over a dialog's edit control (SubclassDlgItem); its parent reflects notifications
// to it (zuvo::Window::ReflectDialogNotification) and its message loop calls
// zuvo::Window::PreTranslate, so Enter and Tab reach it before the dialog manager.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "controls/BalloonWnd.h"
#include "framework/Handles.h"
#include "framework/Window.h"

class CXEdit : public zuvo::Window {
public:
    CXEdit();
    ~CXEdit() override;

    // Shows a message under the edit (icon 1 information, 2 warning, 3 error; equal ids
    // replace each other, -1 matches by title and text). The balloon's window is made on the
    // first message.
    void ShowBalloonTip(const wchar_t* title, const wchar_t* text, int icon, int id);

    const CBalloonWnd& Balloon() const { return m_balloon; }
    bool IsModified() const { return m_modified; }

protected:
    // Whether the character just typed (already in the text) may stay.
    virtual bool IsValidChar(wchar_t character, UINT repeatCount, UINT keyFlags);
    // Asked for a change notification that is not suppressed; true keeps it from the owner.
    virtual bool OnEditChange();
    // Whether the current text may be committed; may correct the text (SetTextAndNotify).
    virtual bool IsValidValue();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    bool PreTranslateMessage(MSG& message) override;

    std::wstring Text() const;
    // Replaces the text; the owner receives the EN_CHANGE of the replacement.
    void SetTextAndNotify(const std::wstring& text);

private:
    LRESULT OnChar(WPARAM wParam, LPARAM lParam);
    // Checks a changed value and announces it when accepted.
    void Commit();
    void NotifyOwnerOfChange();
    bool ParentIsDialog() const;

    CBalloonWnd m_balloon;
    zuvo::UniqueBrush m_background;
    bool m_modified = false;
    bool m_suppressChange = true;
    bool m_typing = false;       // inside the handling of a typed character
    bool m_writingText = false;  // inside WM_SETTEXT
};
