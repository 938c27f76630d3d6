// Labels drawn inside the monitoring areas (the area statistics): one short line of text per
// area, white on a dark translucent box in the view's label font, over the composed frame.
//
// Each label is drawn into a small picture only when its text changes; every paint blends the
// pictures into the frame at their anchors (inside the area, placed once per change of the
// areas or of the layout) and tells the scene, which restores those pixels at the next
// composition. User-interface thread only.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sectorview/SectorScene.h"

namespace zuvo::sector {

// A label's picture: text (one or more lines) white on a dark translucent box, premultiplied
// ARGB row by row; empty without text or font.
struct LabelPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};
LabelPicture RenderLabel(const std::wstring& text, Gdiplus::Font* font);
// Blends picture into frame (width x height) with its top-left corner at (x, y), clipped to the
// frame; the frame's alpha stays. Answers the pixels it covered.
ZRect BlendLabel(const LabelPicture& picture, uint32_t* frame, int width, int height, int x, int y);

class AreaLabels {
public:
    // The text of every monitoring-area slot (missing or empty: no label there), drawn in font.
    // Only the labels whose text changed are drawn again. Answers whether any label changed.
    bool SetTexts(const std::vector<std::wstring>& texts, Gdiplus::Font* font);
    void Clear();
    // Every label drawn again in font (the view's label font changes with its layout).
    void Redraw(Gdiplus::Font* font);
    bool Empty() const;

    // Blends the labels into frame (width x height, the scene's) and marks them in the scene.
    void Draw(SectorScene& scene, uint32_t* frame, int width, int height);

private:
    struct Label {
        std::wstring text;
        LabelPicture picture;
        bool placed = false;
        int x = 0;  // top-left corner in the view
        int y = 0;
    };

    std::vector<Label> m_labels;
    bool m_anchorsValid = false;
    uint32_t m_areaChanges = 0;  // what the anchors were placed for
    uint32_t m_layout = 0;
};

}  // namespace zuvo::sector
