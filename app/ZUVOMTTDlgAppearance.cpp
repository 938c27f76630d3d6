// The main window's look: stretched over the whole screen with its controls scaled, the
// title banner and the object panels.
#include <algorithm>

#include "app/CommandButtons.h"
#include "app/ZUVOMTTDlg.h"
#include "imaging/GdiplusHelpers.h"
#include "resources/resource.h"

namespace {

constexpr int kBannerSingle = 140;  // PNG: single-object detection demonstration
constexpr int kBannerMulti = 141;   // PNG: three-object detection demonstration
constexpr int kCloseCross = 145;    // PNG: 30 x 30 cross of the close button
constexpr int kAlignNear = 0;
constexpr int kAlignCentre = 1;

}  // namespace

void CZUVOMTTDlg::ApplyAppearance() {
    const HWND window = GetSafeHwnd();
    RECT client;
    GetClientRect(window, &client);
    m_resizeTool.Reset();
    m_resizeTool.m_recordedWidth = client.right - client.left;
    m_resizeTool.m_recordedHeight = client.bottom - client.top;
    m_resizeTool.Capture(window);
    m_resizeTool.m_ready = m_resizeTool.m_recordedWidth > 0 && m_resizeTool.m_recordedHeight > 0;
    m_resizeTool.m_owner = window;

    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(window, nullptr, 0, 0, width, height,
                 SWP_NOZORDER | SWP_NOREDRAW | SWP_DEFERERASE);
    double horizontal = 1.0;
    double vertical = 1.0;
    if (m_resizeTool.Resize(width, height, &horizontal, &vertical)) {
        m_scale = std::min(horizontal, vertical);
    }
    InitControlSkins();
}

void CZUVOMTTDlg::InitControlSkins() {
    CColorStatic::SetLabelPicture(m_title,
                                  m_settings.ObjectCountType == 3 ? kBannerMulti : kBannerSingle,
                                  10, -1, kAlignCentre);
    CASkinButton::LoadImagesFromResources(m_closeButton, -1, -1, -1, -1, kCloseCross);
    const int points = static_cast<int>(m_scale * 8.0);
    for (CColorStatic& panel : m_panels) {
        panel.SetLabelStyle(nullptr, points, 0, kAlignNear);
    }
    for (size_t i = 0; i < std::size(kCommandButtons); ++i) {
        const CommandButtonPictures& pictures = kCommandButtons[i];
        CASkinButton::LoadImagesFromResources(m_commandButtons[i], pictures.normal,
                                              pictures.pressed, pictures.disabled,
                                              pictures.disabledPressed, -1);
    }
}

void CZUVOMTTDlg::ShowBannerPicture(int objectCountType) {
    std::unique_ptr<Gdiplus::Bitmap> banner(Gdiplus_LoadBitmapFromResourceW(
        nullptr, L"PNG", objectCountType == 1 ? kBannerSingle : kBannerMulti));
    m_title.SetPicture(banner.get());
}
