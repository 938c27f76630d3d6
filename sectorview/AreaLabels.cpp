#include "sectorview/AreaLabels.h"

#include <algorithm>
#include <cstring>

#include "sectorview/AreaTable.h"

namespace zuvo::sector {

namespace {

constexpr int kPadding = 3;
const Gdiplus::Color kBox(0xA0, 0x10, 0x14, 0x1A);
const Gdiplus::Color kText(0xFF, 0xFF, 0xFF, 0xFF);

}  // namespace

bool AreaLabels::SetTexts(const std::vector<std::wstring>& texts, Gdiplus::Font* font) {
    if (m_labels.size() != static_cast<size_t>(kAreaSlots)) {
        m_labels.assign(kAreaSlots, Label{});
    }
    bool changed = false;
    for (int slot = 0; slot < kAreaSlots; ++slot) {
        const std::wstring text =
            static_cast<size_t>(slot) < texts.size() ? texts[slot] : std::wstring();
        Label& label = m_labels[static_cast<size_t>(slot)];
        if (label.text == text) {
            continue;
        }
        label.text = text;
        label.picture = RenderLabel(text, font);
        changed = true;
    }
    // A label of another size sits elsewhere around the same anchor.
    m_anchorsValid = m_anchorsValid && !changed;
    return changed;
}

void AreaLabels::Redraw(Gdiplus::Font* font) {
    for (Label& label : m_labels) {
        label.picture = RenderLabel(label.text, font);
    }
    m_anchorsValid = false;
}

void AreaLabels::Clear() {
    m_labels.clear();
    m_anchorsValid = false;
}

bool AreaLabels::Empty() const {
    return std::none_of(m_labels.begin(), m_labels.end(),
                        [](const Label& label) { return !label.picture.pixels.empty(); });
}

LabelPicture RenderLabel(const std::wstring& text, Gdiplus::Font* font) {
    LabelPicture label;
    if (text.empty() || font == nullptr) {
        return label;
    }
    const Gdiplus::StringFormat* format = Gdiplus::StringFormat::GenericTypographic();
    Gdiplus::RectF size;
    {
        Gdiplus::Bitmap probe(1, 1, PixelFormat32bppPARGB);
        Gdiplus::Graphics measure(&probe);
        measure.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        if (measure.MeasureString(text.c_str(), static_cast<INT>(text.size()), font,
                                  Gdiplus::PointF(0, 0), format, &size) != Gdiplus::Ok) {
            return label;
        }
    }
    const int width = static_cast<int>(size.Width + 1.0f) + 2 * kPadding;
    const int height = static_cast<int>(size.Height + 1.0f) + 2 * kPadding;
    if (width <= 2 * kPadding || height <= 2 * kPadding || width > 2000 || height > 1000) {
        return label;
    }
    Gdiplus::Bitmap picture(width, height, PixelFormat32bppPARGB);
    {
        Gdiplus::Graphics graphics(&picture);
        if (graphics.GetLastStatus() != Gdiplus::Ok) {
            return label;
        }
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        Gdiplus::SolidBrush box(kBox);
        graphics.FillRectangle(&box, 0, 0, width, height);
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        Gdiplus::SolidBrush ink(kText);
        graphics.DrawString(
            text.c_str(), static_cast<INT>(text.size()), font,
            Gdiplus::PointF(static_cast<float>(kPadding), static_cast<float>(kPadding)), format,
            &ink);
    }
    Gdiplus::BitmapData data{};
    const Gdiplus::Rect whole(0, 0, width, height);
    if (picture.LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) !=
        Gdiplus::Ok) {
        return label;
    }
    label.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int row = 0; row < height; ++row) {
        std::memcpy(
            label.pixels.data() + static_cast<size_t>(row) * width,
            static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(row) * data.Stride,
            static_cast<size_t>(width) * sizeof(uint32_t));
    }
    picture.UnlockBits(&data);
    label.width = width;
    label.height = height;
    return label;
}

ZRect BlendLabel(const LabelPicture& picture, uint32_t* frame, int width, int height, int x,
                 int y) {
    const int left = std::max(0, x);
    const int top = std::max(0, y);
    const int right = std::min(width, x + picture.width);
    const int bottom = std::min(height, y + picture.height);
    if (frame == nullptr || picture.pixels.empty() || left >= right || top >= bottom) {
        return ZRect{0, 0, 0, 0};
    }
    for (int row = top; row < bottom; ++row) {
        const uint32_t* from =
            picture.pixels.data() + static_cast<size_t>(row - y) * picture.width + (left - x);
        uint32_t* to = frame + static_cast<size_t>(row) * width + left;
        for (int column = 0; column < right - left; ++column) {
            const uint32_t source = from[column];
            const uint32_t alpha = source >> 24;
            if (alpha == 0) {
                continue;
            }
            const uint32_t keep = 255 - alpha;
            const uint32_t destination = to[column];
            uint32_t blended = destination & 0xFF000000u;  // the frame's own alpha stays
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t channel = ((source >> shift) & 0xFF) +
                                         (((destination >> shift) & 0xFF) * keep + 127) / 255;
                blended |= std::min<uint32_t>(channel, 255) << shift;
            }
            to[column] = blended;
        }
    }
    return ZRect{left, top, right, bottom};
}

void AreaLabels::Draw(SectorScene& scene, uint32_t* frame, int width, int height) {
    if (frame == nullptr || m_labels.empty()) {
        return;
    }
    const uint32_t layout = scene.Geometry().layout;
    if (!m_anchorsValid || m_areaChanges != scene.AreaChanges() || m_layout != layout) {
        for (int slot = 0; slot < kAreaSlots; ++slot) {
            Label& label = m_labels[static_cast<size_t>(slot)];
            int x = 0;
            int y = 0;
            label.placed = scene.MonitorAreaLabelAnchor(slot, x, y);
            // Centred on the anchor, kept within the view.
            const LabelPicture& picture = label.picture;
            label.x = std::clamp(x - picture.width / 2, 0, std::max(0, width - picture.width));
            label.y = std::clamp(y - picture.height / 2, 0, std::max(0, height - picture.height));
        }
        m_anchorsValid = true;
        m_areaChanges = scene.AreaChanges();
        m_layout = layout;
    }
    for (const Label& label : m_labels) {
        if (label.placed && !label.picture.pixels.empty()) {
            scene.MarkOverlay(BlendLabel(label.picture, frame, width, height, label.x, label.y));
        }
    }
}

}  // namespace zuvo::sector
