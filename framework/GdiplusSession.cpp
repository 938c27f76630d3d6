#include "framework/GdiplusSession.h"

#include <objidl.h>

#include <gdiplus.h>

namespace zuvo {

GdiplusSession::GdiplusSession() noexcept {
    const Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) {
        m_token = 0;
    }
}

GdiplusSession::~GdiplusSession() {
    if (m_token != 0) {
        Gdiplus::GdiplusShutdown(m_token);
    }
}

}  // namespace zuvo
