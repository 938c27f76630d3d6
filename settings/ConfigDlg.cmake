# The parameter dialog. Its algorithm table is portable and tested natively; the dialog itself
# is Windows only and linked into the program by the main window.
zuvo_portable_library(zuvo_config_items SOURCES ConfigDlgItems.cpp)

if(WIN32)
    zuvo_windows_library(zuvo_config_dialog
        SOURCES ConfigDlg.cpp
        LIBS zuvo_config_items zuvo_framework ZUVO_DataProcess ZUVO_DlgResource zuvo_common)
endif()
