// The settings file and the stored areas, as the main window uses them.
#include "app/SectorViewAreas.h"
#include "app/SettingsDocument.h"
#include "app/ZUVOMTTDlg.h"
#include "settings/AreaStore.h"
#include "settings/SettingsFile.h"

void CZUVOMTTDlg::LoadSettings() {
    zuvo::settings::LoadSettings(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                 m_settings);
}

void CZUVOMTTDlg::SaveRecordingSettings() {
    zuvo::settings::SaveRecordingSettings(zuvo::app::SettingsDocument(), m_programFolder.c_str(),
                                          m_settings);
}

void CZUVOMTTDlg::LoadAreas() {
    CSectorViewAreas areas(m_sectorView);
    zuvo::settings::LoadAreas(zuvo::app::SettingsDocument(), areas);
}

void CZUVOMTTDlg::LoadMonitorPoints() {
    CSectorViewAreas areas(m_sectorView);
    zuvo::settings::LoadMonitorPoints(zuvo::app::SettingsDocument(), areas);
}
