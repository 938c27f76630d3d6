// Object intake (the radar library's thread) and the object panels (user-interface thread).
#include <vector>

#include "app/ObjectInfoText.h"
#include "app/RunHealth.h"
#include "app/SettingsDocument.h"
#include "app/ZUVOMTTDlg.h"
#include "framework/Language.h"
#include "resources/resource.h"
#include "settings/SettingsFile.h"

void CZUVOMTTDlg::OnRadarObjectDetect(int64_t, CPtrCtrl* objects) {
    m_intake.Deliver(objects, MS_GetTime());
}

void CZUVOMTTDlg::ResetObjectSlots() {
    m_slots.Reset();
}

std::wstring CZUVOMTTDlg::FormatObjectInfo(int index) const {
    const std::wstring format = zuvo::LoadUiString(GetModuleHandleW(nullptr), IDS_OBJECT_INFO);
    return zuvo::app::FormatObjectInfo(format, m_settings.ObjectCountType, index,
                                       m_slots.Slot(index));
}

void CZUVOMTTDlg::RefreshObjectPanels() {
    const HWND window = GetSafeHwnd();
    if (m_settings.ObjectCountType == zuvo::settings::kSingleObjectTracking) {
        SetDlgItemTextW(window, zuvo::app::kObjectPanelIds[0], FormatObjectInfo(0).c_str());
    } else if (m_settings.ObjectCountType == zuvo::settings::kMultiObjectTracking) {
        for (int slot = 0; slot < 3; ++slot) {
            SetDlgItemTextW(window, zuvo::app::kObjectPanelIds[slot + 1],
                            FormatObjectInfo(slot).c_str());
        }
    }
}

void CZUVOMTTDlg::RefreshPass() {
    const uint32_t now = MS_GetTime();
    const zuvo::app::RefreshResult result = m_slots.RefreshPass(now);
    if (result.refreshed) {
        RefreshObjectPanels();
    }
    m_light.ApplyPresence(result.present, now);  // the presence rule, last of every pass
    m_resultLog.FlushIfDue(now);
    m_eventLog.FlushIfDue(now);
    RefreshAreaStatistics();
}

void CZUVOMTTDlg::ToggleAreaStatistics() {
    m_settings.ShowAreaStatistics = m_settings.ShowAreaStatistics != 0 ? 0 : 1;
    zuvo::settings::SaveViewAdditions(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                      m_settings);
    RefreshAreaStatistics();
}

void CZUVOMTTDlg::ToggleRunHealth() {
    m_settings.ShowRunHealth = m_settings.ShowRunHealth != 0 ? 0 : 1;
    zuvo::settings::SaveViewAdditions(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                      m_settings);
    RefreshRunHealth();
}

void CZUVOMTTDlg::ToggleHeatMap() {
    m_settings.ShowHeatMap = m_settings.ShowHeatMap != 0 ? 0 : 1;
    zuvo::settings::SaveViewAdditions(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                      m_settings);
    m_sectorView.ShowHeatMap(m_settings.ShowHeatMap != 0);
}

void CZUVOMTTDlg::RefreshRunHealth() {
    const uint32_t now = MS_GetTime();
    const uint64_t deliveries = m_intake.Deliveries();
    zuvo::app::RunHealth health;
    const uint32_t elapsed = now - m_healthSampledAt;
    if (m_healthSampledAt != 0 && elapsed > 0) {
        health.deliveriesPerSecond =
            static_cast<double>(deliveries - m_healthDeliveries) * 1000.0 / elapsed;
    }
    m_healthDeliveries = deliveries;
    m_healthSampledAt = now;
    if (m_settings.ShowRunHealth == 0) {
        m_sectorView.SetHealthText(std::wstring());
        return;
    }
    health.objects = ZUVO_Interface_RadarCtrl_IsStarted() ? m_intake.LastObjects() : 0;
    health.entries = m_areaEvents.TotalEntries();
    health.logLines = m_resultLog.LinesWritten();
    const zuvo::sector::TimingMedians paints = m_sectorView.RecentPaints();
    health.painted = paints.paints > 0;
    health.paintMs = paints.paintMs;
    health.delivered = paints.deliveries > 0;
    health.latencyMs = paints.latencyMs;
    if (m_healthWords.deliveries.empty()) {
        const HMODULE program = GetModuleHandleW(nullptr);
        m_healthWords =
            zuvo::app::RunHealthWords{zuvo::LoadUiString(program, IDS_HEALTH_DELIVERIES),
                                      zuvo::LoadUiString(program, IDS_HEALTH_OBJECTS),
                                      zuvo::LoadUiString(program, IDS_HEALTH_ENTRIES),
                                      zuvo::LoadUiString(program, IDS_HEALTH_LOG_LINES),
                                      zuvo::LoadUiString(program, IDS_HEALTH_PAINT),
                                      zuvo::LoadUiString(program, IDS_HEALTH_LATENCY)};
    }
    m_sectorView.SetHealthText(zuvo::app::FormatRunHealth(m_healthWords, health));
}

void CZUVOMTTDlg::RefreshAreaStatistics() {
    if (m_settings.ShowAreaStatistics == 0) {
        m_sectorView.ClearAreaLabels();
        return;
    }
    if (m_statisticsIn.empty()) {
        const HMODULE program = GetModuleHandleW(nullptr);
        m_statisticsIn = zuvo::LoadUiString(program, IDS_AREA_STATS_IN);
        m_statisticsEntries = zuvo::LoadUiString(program, IDS_AREA_STATS_ENTRIES);
    }
    const uint32_t now = MS_GetTime();
    const zuvo::sector::AreaTable& areas = m_sectorView.Scene().MonitorAreas();
    std::vector<std::wstring> texts(zuvo::sector::kAreaSlots);
    for (int slot = 0; slot < zuvo::sector::kAreaSlots; ++slot) {
        if (areas.Slot(slot).present) {
            texts[slot] = zuvo::app::FormatAreaStatistics(m_statisticsIn, m_statisticsEntries,
                                                          m_areaEvents.Count(slot, now));
        }
    }
    m_sectorView.SetAreaLabels(texts);
}
