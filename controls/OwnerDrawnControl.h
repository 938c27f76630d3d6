// A dialog control that draws itself: its parent reflects WM_DRAWITEM to it
// (zuvo::Window::ReflectNotification) and it answers with Draw.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "framework/Window.h"

namespace zuvo::controls {

class OwnerDrawnControl : public zuvo::Window {
protected:
    virtual void Draw(const DRAWITEMSTRUCT& item) = 0;

    bool OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

}  // namespace zuvo::controls
