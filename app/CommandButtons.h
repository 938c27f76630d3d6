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
    {IDC_DETECT_DEVICE, 197, 198, -1, -1}, {IDC_PLAYBACK, 187, 188, 189, -1},
    {IDC_START_STOP, 202, 203, 204, -1},   {IDC_PAUSE, 199, 200, 201, -1},
    {IDC_AREA_MONITOR, 190, 191, -1, -1},  {IDC_MODE_SWITCH, 193, 194, 195, 196},
    {IDC_SAVE_DATA, 205, 206, 207, 208},   {IDC_SAVE_PATH, 209, 210, 211, -1},
};
