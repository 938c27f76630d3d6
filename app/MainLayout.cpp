#include "app/MainLayout.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "app/CommandButtons.h"
#include "imaging/GdiplusHelpers.h"
#include "settings/AppConfig.h"

namespace zuvo::app {

namespace {

constexpr int kAlignNear = 0;
constexpr int kAlignCentre = 1;

bool IsSingle(int objectCountType) {
    return objectCountType == zuvo::settings::kSingleObjectTracking;
}

}  // namespace

void MainLayout::Attach(HWND window) {
    m_title.SubclassDlgItem(IDC_TITLE, window);
    for (size_t i = 0; i < std::size(kObjectPanelIds); ++i) {
        m_panels[i].SubclassDlgItem(kObjectPanelIds[i], window);
    }
    m_closeButton.SubclassDlgItem(IDC_CLOSE, window);
    for (size_t i = 0; i < std::size(kCommandButtons); ++i) {
        m_commandButtons[i].SubclassDlgItem(kCommandButtons[i].id, window);
    }
}

void MainLayout::FillScreen(HWND window, int objectCountType) {
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
    InitControlSkins(objectCountType);
}

void MainLayout::InitControlSkins(int objectCountType) {
    // The multi-object banner unless the type is the single object's.
    CColorStatic::SetLabelPicture(m_title,
                                  objectCountType == zuvo::settings::kMultiObjectTracking
                                      ? IDB_BANNER_MULTI
                                      : IDB_BANNER_SINGLE,
                                  10, -1, kAlignCentre);
    CASkinButton::LoadImagesFromResources(m_closeButton, -1, -1, -1, -1, IDB_CLOSE_CROSS);
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

void MainLayout::ShowObjectCountType(HWND window, int objectCountType) {
    std::unique_ptr<Gdiplus::Bitmap> banner(Gdiplus_LoadBitmapFromResourceW(
        nullptr, L"PNG", IsSingle(objectCountType) ? IDB_BANNER_SINGLE : IDB_BANNER_MULTI));
    m_title.SetPicture(banner.get());
    const bool single = IsSingle(objectCountType);
    if (!single && objectCountType != zuvo::settings::kMultiObjectTracking) {
        return;
    }
    CheckDlgButton(window, IDC_MODE_SWITCH, single ? BST_CHECKED : BST_UNCHECKED);
    ShowWindow(GetDlgItem(window, kObjectPanelIds[0]), single ? SW_SHOW : SW_HIDE);
    for (size_t i = 1; i < std::size(kObjectPanelIds); ++i) {
        ShowWindow(GetDlgItem(window, kObjectPanelIds[i]), single ? SW_HIDE : SW_SHOW);
    }
}

}  // namespace zuvo::app
