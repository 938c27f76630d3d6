# The parameter dialog. Its algorithm table is portable and tested natively; the dialog itself
# is Windows only and linked into the program by the main window.
zuvo_portable_library(zuvo_config_items SOURCES ConfigDlgItems.cpp)

if(WIN32)
    add_library(zuvo_config_dialog STATIC ConfigDlg.cpp)
    target_include_directories(zuvo_config_dialog PUBLIC "${ZUVO_ROOT}" "${ZUVO_ROOT}/boundary")
    target_link_libraries(zuvo_config_dialog PUBLIC
        zuvo_config_items zuvo_framework ZUVO_DataProcess ZUVO_DlgResource zuvo_common)
    zuvo_warnings(zuvo_config_dialog)
endif()
