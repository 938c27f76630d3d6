// A real number in a dialog's control: written with at most one decimal ("31", "0.5") and
// read back as the leading number of the control's text (0.0 when there is none).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

void SetDlgItemDouble(HWND dialog, int controlId, double value);
double GetDlgItemDouble(HWND dialog, int controlId);
