// The sector view as the stored areas see it: polygons relative to the sector rectangle, and
// monitoring points.
#pragma once

#include "sectorview/ObjectSectorWnd.h"
#include "settings/AreaView.h"

class CSectorViewAreas : public zuvo::settings::IAreaView {
public:
    explicit CSectorViewAreas(CObjectSectorWnd& view) : m_view(view) {}

    ZRect GetSectorRect() const override;
    void ClearAlgorithmAreas() override { m_view.ClearAlgorithmAreas(); }
    int AddAlgorithmArea(const int32_t* rowColumnPairs, int count, uint32_t inactiveColour,
                         uint32_t activeColour) override {
        return m_view.AddAlgorithmArea(rowColumnPairs, count, inactiveColour, activeColour);
    }
    void ClearMonitorAreas() override { m_view.ClearMonitorAreas(); }
    int AddMonitorArea(const int32_t* rowColumnPairs, int count, uint32_t inactiveColour,
                       uint32_t activeColour) override {
        return m_view.AddMonitorArea(rowColumnPairs, count, inactiveColour, activeColour);
    }
    void ClearMonitorPoints() override { m_view.ClearMonitorPoints(); }
    void AddMonitorPoint(double distance, double angle, double size, const wchar_t* label,
                         uint32_t inactiveColour, uint32_t activeColour,
                         uint32_t labelColour) override {
        m_view.AddMonitorPoint(distance, angle, size, label, inactiveColour, activeColour,
                               labelColour);
    }
    bool GetAlgorithmArea(int slot, std::vector<int32_t>& rowColumnPairs) const override;

private:
    CObjectSectorWnd& m_view;
};
