# The area monitoring panel (Windows only).
if(WIN32)
    zuvo_windows_library(zuvo_area_panel
        SOURCES AreaMonitorDlg.cpp
        LIBS zuvo_controls zuvo_framework comdlg32)
endif()
