// Object intake (the radar library's thread) and the object panels (user-interface thread).
#include <vector>

#include "app/ObjectInfoText.h"
#include "app/ZUVOMTTDlg.h"
#include "framework/Language.h"
#include "resources/resource.h"

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
}
