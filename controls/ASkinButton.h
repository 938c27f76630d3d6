// CASkinButton: a dialog button drawn entirely from pictures, one per state (normal, pressed
// or checked, pointer over it, disabled, disabled and checked) and an icon that stands in
// when no state picture exists. The owner still receives BN_CLICKED; push-like check boxes
// and radio buttons keep their checked state here, changed before the click arrives. The
// button follows the pointer for its hover look and shows the hand cursor.
//
// It takes over a dialog's button (SubclassDlgItem) and draws itself when its parent
// reflects WM_DRAWITEM to it.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include "controls/ButtonLook.h"
#include "controls/ControlDrawing.h"
#include "controls/OwnerDrawnControl.h"

// Sent to the other members of a radio button's group when it becomes checked; no
// parameters, answers 0.
constexpr UINT WM_SKIN_UNCHECK = WM_USER + 256;

class CASkinButton : public zuvo::controls::OwnerDrawnControl {
public:
    using ButtonKind = zuvo::controls::ButtonKind;

    CASkinButton();
    ~CASkinButton() override;

    // Takes copies of the pictures (each may be null). Without a disabled picture a grey
    // version of the normal one is used, without a disabled-checked picture a grey version
    // of the pressed one. The caption becomes empty: the pictures carry the text.
    void SetImages(Gdiplus::Bitmap* normal, Gdiplus::Bitmap* pressed, Gdiplus::Bitmap* hover,
                   Gdiplus::Bitmap* disabled, Gdiplus::Bitmap* disabledChecked,
                   Gdiplus::Bitmap* icon);
    // The pictures from the program's PNG resources with the ids (0 or below: none) as
    // normal, pressed, disabled, disabled-checked and icon; no hover picture.
    static void LoadImagesFromResources(CASkinButton& button, int normalId, int pressedId,
                                        int disabledId, int disabledCheckedId, int iconId);

    ButtonKind Kind() const { return m_kind; }
    bool IsChecked() const { return m_checked; }
    bool IsHover() const { return m_hover; }
    bool IsPressed() const { return m_pressed; }

protected:
    void OnSubclassed() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Draw(const DRAWITEMSTRUCT& item) override;

private:
    void SetCheck(bool checked);
    void UncheckGroup();
    void ToggleByUser();
    bool ShowsPushedLook() const;
    bool PointerOverThis(POINT screenPoint) const;
    void Repaint() const;
    void DrawFrame(HDC dc, const RECT& rect) const;

    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLeftButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLeftButtonUp(WPARAM wParam, LPARAM lParam);

    zuvo::controls::PicturePtr m_pictures[zuvo::controls::kPictureCount];
    COLORREF m_background;
    ButtonKind m_kind = ButtonKind::Push;
    bool m_checked = false;
    bool m_hover = false;
    bool m_pressed = false;
};
