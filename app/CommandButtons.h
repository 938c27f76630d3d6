// The main window's command buttons and their PNG pictures (normal, set or pressed, disabled,
// disabled and set; -1: none), in the order the pictures are given to them.
#pragma once

#include "resources/resource.h"

struct CommandButtonPictures {
    int id;
    int normal;
    int pressed;
    int disabled;
    int disabledPressed;
};

inline constexpr CommandButtonPictures kCommandButtons[] = {
    {IDC_DETECT_DEVICE, IDB_DETECT_NORMAL, IDB_DETECT_PRESSED, -1, -1},
    {IDC_PLAYBACK, IDB_PLAYBACK_NORMAL, IDB_PLAYBACK_PRESSED, IDB_PLAYBACK_DISABLED, -1},
    {IDC_START_STOP, IDB_START_NORMAL, IDB_START_PRESSED, IDB_START_DISABLED, -1},
    {IDC_PAUSE, IDB_PAUSE_NORMAL, IDB_PAUSE_PRESSED, IDB_PAUSE_DISABLED, -1},
    {IDC_AREA_MONITOR, IDB_AREA_NORMAL, IDB_AREA_PRESSED, -1, -1},
    {IDC_MODE_SWITCH, IDB_MODE_NORMAL, IDB_MODE_PRESSED, IDB_MODE_DISABLED,
     IDB_MODE_DISABLED_PRESSED},
    {IDC_SAVE_DATA, IDB_SAVE_DATA_NORMAL, IDB_SAVE_DATA_PRESSED, IDB_SAVE_DATA_DISABLED,
     IDB_SAVE_DATA_DISABLED_PRESSED},
    {IDC_SAVE_PATH, IDB_SAVE_PATH_NORMAL, IDB_SAVE_PATH_PRESSED, IDB_SAVE_PATH_DISABLED, -1},
};
