# The area monitoring panel (Windows only) and the portable core of the main window's area
# drawing, which lives with the main window's sources but is built and tested on its own.
zuvo_portable_library(zuvo_area_drawing SOURCES "${ZUVO_ROOT}/app/AreaDrawing.cpp")

if(WIN32)
    add_library(zuvo_area_panel STATIC AreaMonitorDlg.cpp)
    target_include_directories(zuvo_area_panel PUBLIC "${ZUVO_ROOT}" "${ZUVO_ROOT}/boundary")
    target_link_libraries(zuvo_area_panel PUBLIC zuvo_controls zuvo_framework comdlg32)
    zuvo_warnings(zuvo_area_panel)
endif()
