#include "sectorview/ObjectSectorWnd.h"

#include <utility>
#include <vector>

#include "sectorview/Argb.h"
#include "sectorview/PointLabel.h"
#include "sectorview/SectorBackground.h"

namespace {

constexpr wchar_t kClassName[] = L"ZUVO_ObjectSectorWnd";

int64_t PerformanceCounter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Performance-counter ticks in milliseconds.
double CounterMs(int64_t ticks) {
    static const double perMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    return static_cast<double>(ticks) / perMs;
}

bool RegisterViewClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        return zuvo::Window::RegisterWindowClass(windowClass);
    }();
    return registered;
}

}  // namespace

CObjectSectorWnd::CObjectSectorWnd() = default;

CObjectSectorWnd::~CObjectSectorWnd() {
    Destroy();
}

bool CObjectSectorWnd::Create(HWND parent, const RECT& rect, int controlId) {
    if (GetSafeHwnd() != nullptr || !RegisterViewClass() ||
        !CreateEx(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)))) {
        return false;
    }
    m_repaintTarget.store(GetSafeHwnd());
    return true;
}

void CObjectSectorWnd::OnSubclassed() {
    m_repaintTarget.store(GetSafeHwnd());
}

// Out of memory while rebuilding buffers throws: the window base catches it, and the view
// misses a frame while the program lives.
LRESULT CObjectSectorWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint covers every pixel: erasing would only flicker
        case WM_SIZE:
            OnSize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_NCDESTROY:
            m_repaintTarget.store(nullptr);
            break;
        default:
            break;
    }
    return DefaultHandling(message, wParam, lParam);
}

void CObjectSectorWnd::OnSize(int width, int height) {
    // Before the first settings the view has no layout to follow the size with. Unlike a
    // test of the width, this flag also lets the view grow again after a size of 0.
    if (!m_settingsApplied || (width == m_width && height == m_height)) {
        return;
    }
    m_width = width;
    m_height = height;
    Relayout();
}

bool CObjectSectorWnd::CreateDib(Dib& dib, int width, int height) {
    void* bits = nullptr;
    dib.bitmap.reset(width > 0 && height > 0 ? CreateHBitmap(&bits, width, -height, 32) : nullptr);
    dib.pixels = dib.bitmap ? static_cast<uint32_t*>(bits) : nullptr;
    return dib.pixels != nullptr;
}

void CObjectSectorWnd::Relayout() {
    m_painted = false;
    m_frameSelected.reset();  // the old frame is deleted next
    if (CreateDib(m_frame, m_width, m_height)) {
        const ZRect whole{0, 0, m_width, m_height};
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        DrawColorOnBuffer(zuvo::sector::WithAlpha(zuvo::sector::SwapRedBlue(face), 0xFF),
                          m_frame.pixels, &whole, m_width * 4);
        if (!m_frameDc) {
            m_frameDc.reset(CreateCompatibleDC(nullptr));
        }
        if (m_frameDc) {
            m_frameSelected.emplace(m_frameDc.get(), m_frame.bitmap.get());
        }
    }
    m_areaPainter.Release();
    m_scene.Relayout(m_width, m_height);
    m_labelFont = zuvo::sector::CreateLabelFont(m_scene.Settings().radiusScale);
    m_areaLabelFont =
        zuvo::sector::CreateLabelFont(kAreaLabelScale * m_scene.Settings().radiusScale);
    m_areaLabels.Redraw(m_areaLabelFont.get());
    m_healthPicture = zuvo::sector::RenderLabel(m_healthText, m_areaLabelFont.get());
    CreateDib(m_background, m_width, m_height);
}

void CObjectSectorWnd::ApplyViewSettings(const zuvo::sector::SectorViewConfig& config,
                                         std::unique_ptr<Gdiplus::Bitmap> picture) {
    if (picture) {
        m_picture = std::move(picture);
    }
    m_scene.ApplyConfig(config);
    RECT client{0, 0, 0, 0};
    const HWND window = GetSafeHwnd();
    if (window != nullptr) {
        GetClientRect(window, &client);
    }
    m_width = client.right;
    m_height = client.bottom;
    m_settingsApplied = true;
    Relayout();
    Invalidate(true);
    UpdateObjects(nullptr);
}

void CObjectSectorWnd::SetGateRange(double gateMin, double gateMax, int gateCount) {
    m_scene.SetGateRange(gateMin, gateMax, gateCount);
    Invalidate(true);
}

RECT CObjectSectorWnd::GetSectorRect() const {
    const ZRect sector = m_scene.GetSectorRect();
    return RECT{sector.left, sector.top, sector.right, sector.bottom};
}

void CObjectSectorWnd::UpdateObjects(const CPtrListCtrl* objects) {
    m_scene.UpdateObjects(objects, MS_GetTime());
    if (objects != nullptr) {
        int64_t none = 0;
        m_firstUnshownUpdate.compare_exchange_strong(none, PerformanceCounter());
    }
    RequestRepaint();
}

void CObjectSectorWnd::ClearTracks() {
    m_scene.ClearTracks();
}

int CObjectSectorWnd::AddAlgorithmArea(const int32_t* points, int count, COLORREF inactiveColour,
                                       COLORREF activeColour) {
    return ShowAddedArea(m_scene.AddAlgorithmArea(points, count, inactiveColour, activeColour));
}

void CObjectSectorWnd::ClearAlgorithmAreas() {
    m_scene.ClearAlgorithmAreas();
    Invalidate(true);
}

int CObjectSectorWnd::AddMonitorArea(const int32_t* points, int count, COLORREF inactiveColour,
                                     COLORREF activeColour) {
    return ShowAddedArea(m_scene.AddMonitorArea(points, count, inactiveColour, activeColour));
}

int CObjectSectorWnd::ShowAddedArea(int slot) {
    if (slot >= 0) {
        Invalidate(true);
    }
    return slot;
}

void CObjectSectorWnd::ClearMonitorAreas() {
    m_scene.ClearMonitorAreas();
    Invalidate(true);
}

void CObjectSectorWnd::AddMonitorPoint(double distance, double angle, double size,
                                       const wchar_t* label, COLORREF inactiveColour,
                                       COLORREF activeColour, COLORREF labelColour) {
    auto point = m_scene.MakePoint(distance, angle, size, inactiveColour, activeColour);
    if (!m_labelFont) {
        m_labelFont = zuvo::sector::CreateLabelFont(m_scene.Settings().radiusScale);
    }
    // The number is drawn opaque: a label colour without alpha would leave it invisible.
    zuvo::sector::DrawPointLabel(
        point->normalImage, label, m_labelFont.get(),
        zuvo::sector::WithAlpha(zuvo::sector::SwapRedBlue(labelColour), 0xFF));
    m_scene.AddMonitorPoint(std::move(point));
}

void CObjectSectorWnd::ClearMonitorPoints() {
    m_scene.ClearMonitorPoints();
}

void CObjectSectorWnd::Invalidate(bool erase) {
    const HWND window = GetSafeHwnd();
    if (window != nullptr) {
        InvalidateRect(window, nullptr, erase ? TRUE : FALSE);
    }
}

void CObjectSectorWnd::RequestRepaint() {
    // Called from the radar library's thread: one pending repaint is enough however many
    // batches arrive before it.
    const HWND window = m_repaintTarget.load();
    RECT pending;
    if (window != nullptr && !GetUpdateRect(window, &pending, FALSE)) {
        InvalidateRect(window, nullptr, FALSE);
    }
}

void CObjectSectorWnd::RenderBackground() {
    zuvo::sector::RenderSectorBackground(m_background.pixels, m_scene.Geometry(),
                                         m_scene.Settings(), m_picture.get());
}

void CObjectSectorWnd::OnPaint() {
    const int64_t began = PerformanceCounter();
    const int64_t update = m_firstUnshownUpdate.exchange(0);
    const HWND window = GetSafeHwnd();
    const zuvo::PaintDc dc(window);
    const zuvo::sector::SectorGeometry& geometry = m_scene.Geometry();
    if (m_frame.pixels == nullptr || m_background.pixels == nullptr || geometry.width != m_width ||
        geometry.height != m_height) {
        return;
    }
    if (m_scene.BackgroundDirty()) {
        RenderBackground();
        m_scene.MarkBackgroundRendered();
        m_areaPainter.SetBackground(m_background.pixels, m_width, m_height);
        Invalidate(true);
    }
    m_scene.RefreshMasks();
    // The scene fills the detection boundaries first, then the monitoring areas. The frame
    // starts from the painter's background, which already has the last frame's fills.
    if (!m_frameSelected ||
        !m_areaPainter.BeginFrame(m_frameDc.get(), m_frame.pixels, m_width, m_height,
                                  {&m_scene.AlgorithmAreas(), &m_scene.MonitorAreas()})) {
        return;
    }
    m_scene.ComposeFrame(m_frame.pixels, m_areaPainter.Layered(), MS_GetTime(), &m_areaPainter);
    m_areaLabels.Draw(m_scene, m_frame.pixels, m_width, m_height);
    if (!m_healthPicture.pixels.empty()) {
        constexpr int kMargin = 8;
        m_scene.MarkOverlay(
            zuvo::sector::BlendLabel(m_healthPicture, m_frame.pixels, m_width, m_height,
                                     m_width - m_healthPicture.width - kMargin, kMargin));
    }
    BitBlt(dc.get(), 0, 0, m_width, m_height, m_frameDc.get(), 0, 0, SRCCOPY);
    m_painted = true;
    const int64_t ended = PerformanceCounter();
    m_timings.Add(CounterMs(ended), CounterMs(ended - began),
                  update != 0 ? CounterMs(ended - update) : -1.0);
}

void CObjectSectorWnd::SetAreaLabels(const std::vector<std::wstring>& texts) {
    if (!m_areaLabelFont) {
        m_areaLabelFont =
            zuvo::sector::CreateLabelFont(kAreaLabelScale * m_scene.Settings().radiusScale);
    }
    if (m_areaLabels.SetTexts(texts, m_areaLabelFont.get())) {
        Invalidate(false);
    }
}

void CObjectSectorWnd::SetHealthText(const std::wstring& text) {
    if (text == m_healthText) {
        return;
    }
    m_healthText = text;
    if (!m_areaLabelFont) {
        m_areaLabelFont =
            zuvo::sector::CreateLabelFont(kAreaLabelScale * m_scene.Settings().radiusScale);
    }
    m_healthPicture = zuvo::sector::RenderLabel(text, m_areaLabelFont.get());
    Invalidate(false);
}

zuvo::sector::TimingMedians CObjectSectorWnd::RecentPaints() {
    return m_timings.Medians(CounterMs(PerformanceCounter()));
}

void CObjectSectorWnd::ClearAreaLabels() {
    if (!m_areaLabels.Empty()) {
        Invalidate(false);
    }
    m_areaLabels.Clear();
}

void CObjectSectorWnd::ShowHeatMap(bool shown) {
    if (shown != m_scene.HeatMapShown()) {
        m_scene.ShowHeatMap(shown);
        Invalidate(false);
    }
}

void CObjectSectorWnd::ClearHeatMap() {
    m_scene.ClearHeatMap();
    RequestRepaint();
}

std::unique_ptr<Gdiplus::Bitmap> CObjectSectorWnd::CopyHeatMap() const {
    if (m_background.pixels == nullptr || !m_painted || m_width <= 0 || m_height <= 0) {
        return nullptr;
    }
    std::vector<uint32_t> pixels(m_background.pixels,
                                 m_background.pixels + static_cast<size_t>(m_width) * m_height);
    m_scene.BlendHeatMap(pixels.data());
    return OpaqueBitmap(pixels.data());
}

std::unique_ptr<Gdiplus::Bitmap> CObjectSectorWnd::CopyShownFrame() const {
    if (m_frame.pixels == nullptr || !m_painted || m_width <= 0 || m_height <= 0) {
        return nullptr;
    }
    GdiFlush();  // the fills are drawn through GDI+ into the same pixels
    return OpaqueBitmap(m_frame.pixels);
}

std::unique_ptr<Gdiplus::Bitmap> CObjectSectorWnd::OpaqueBitmap(const uint32_t* pixels) const {
    auto copy = std::make_unique<Gdiplus::Bitmap>(m_width, m_height, PixelFormat32bppRGB);
    Gdiplus::BitmapData data{};
    const Gdiplus::Rect whole(0, 0, m_width, m_height);
    if (copy->GetLastStatus() != Gdiplus::Ok ||
        copy->LockBits(&whole, Gdiplus::ImageLockModeWrite, PixelFormat32bppRGB, &data) !=
            Gdiplus::Ok) {
        return nullptr;
    }
    // The frame's alpha only weighs the blends; on the screen every pixel is opaque.
    for (int y = 0; y < m_height; ++y) {
        const uint32_t* from = pixels + static_cast<size_t>(y) * m_width;
        auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(data.Scan0) +
                                               static_cast<ptrdiff_t>(y) * data.Stride);
        for (int x = 0; x < m_width; ++x) {
            to[x] = from[x] | 0xFF000000u;
        }
    }
    copy->UnlockBits(&data);
    return copy;
}

void CObjectSectorWnd::OnDestroy() {
    m_scene.ReleaseLayout();
    m_frameSelected.reset();
    m_areaPainter.Release();
    m_frame = Dib{};
    m_background = Dib{};
    m_picture.reset();
    m_labelFont.reset();
    m_areaLabelFont.reset();
    Invalidate(true);
}
