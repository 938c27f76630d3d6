// The sector view's settings, and the object count type's banner and panels.
#include "app/ZUVOMTTDlg.h"
#include "resources/resource.h"

void CZUVOMTTDlg::ApplyViewSettings() {
    zuvo::sector::SectorViewConfig config;
    config.topViewMode = m_settings.ObjectWnd_TopViewMode;
    config.drawLocus = m_settings.ObjectWnd_DrawLocus;
    config.angleStart = m_settings.ObjectWnd_AngleStart;
    config.angleStop = m_settings.ObjectWnd_AngleStop;
    config.angleStep = m_settings.ObjectWnd_AngleStep;
    config.sectorCount = m_settings.ObjectWnd_SectorCount;
    config.gateMin = m_settings.ObjectWnd_GateMin;
    config.gateMax = m_settings.ObjectWnd_GateMax;
    config.gateCount = gRadarParameter.GateCount;
    config.radiusScale = m_settings.ObjectWnd_RadiusScale;
    config.locusRadiusScale = m_settings.ObjectWnd_LocusRadiusScale;
    config.displayTimeMs = m_settings.ObjectWnd_DisplayTime;
    config.smoothCount = m_settings.ObjectWnd_SmoothCount;

    // The view keeps its own copy of the picture.
    std::unique_ptr<Gdiplus::Bitmap> picture;
    if (m_backgroundPicture != nullptr) {
        picture.reset(m_backgroundPicture->Clone(0, 0, m_backgroundPicture->GetWidth(),
                                                 m_backgroundPicture->GetHeight(),
                                                 PixelFormat32bppARGB));
    }
    m_sectorView.ApplyViewSettings(config, std::move(picture));
    m_areas.LoadStored();
    m_sectorView.ShowHeatMap(m_settings.ShowHeatMap != 0);
    RefreshAreaStatistics();
    RefreshRunHealth();
}

void CZUVOMTTDlg::ApplyObjectCountType() {
    m_layout.ShowObjectCountType(GetSafeHwnd(), m_settings.ObjectCountType);
}
