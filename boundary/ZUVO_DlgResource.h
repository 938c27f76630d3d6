// ZUVO_DlgResource: ready-made windows of the family (waiting window, licence agreement,
// device detection, register settings). Handles are opaque; the windows' look and texts are
// the library's, and a program uses none of the results.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "ZUVO_CommonCore.h"
#include "ZUVO_DataProcess.h"
#include "ZUVO_Export.h"

typedef void* ZUVO_WAITINGDLG_HANDLE;
typedef void* ZUVO_EULADLG_HANDLE;

// Mode of ZUVO_EULADlg_Show: the about view (product name, version, licence text).
#define ZUVO_EULADLG_SHOW_ABOUT 5

extern "C" {

// A hidden waiting window of parent.
ZUVO_DLGRESOURCE_API ZUVO_WAITINGDLG_HANDLE ZUVO_CALL ZUVO_WaitingDlg_Create(HWND parent);
// Show (the two numbers are 0) shows the window with the text; Hide, Destroy.
ZUVO_DLGRESOURCE_API void ZUVO_CALL ZUVO_WaitingDlg_Show(ZUVO_WAITINGDLG_HANDLE dialog,
                                                         int reserved1, int reserved2,
                                                         const wchar_t* text);
ZUVO_DLGRESOURCE_API void ZUVO_CALL ZUVO_WaitingDlg_Hide(ZUVO_WAITINGDLG_HANDLE dialog);
ZUVO_DLGRESOURCE_API void ZUVO_CALL ZUVO_WaitingDlg_Destroy(ZUVO_WAITINGDLG_HANDLE dialog);

// The licence agreement window of productName (secondText: a second text, or null).
ZUVO_DLGRESOURCE_API ZUVO_EULADLG_HANDLE ZUVO_CALL ZUVO_EULADlg_Create(HWND parent,
                                                                       const wchar_t* productName,
                                                                       const wchar_t* secondText);
// Run once after creation: the library decides whether the agreement is shown.
ZUVO_DLGRESOURCE_API int ZUVO_CALL ZUVO_EULADlg_CheckShowEULA(ZUVO_EULADLG_HANDLE dialog);
// mode ZUVO_EULADLG_SHOW_ABOUT shows the window in its about view.
ZUVO_DLGRESOURCE_API int ZUVO_CALL ZUVO_EULADlg_Show(ZUVO_EULADLG_HANDLE dialog, int mode);
ZUVO_DLGRESOURCE_API void ZUVO_CALL ZUVO_EULADlg_Destroy(ZUVO_EULADLG_HANDLE dialog);

// Searches for devices modally. Sets sourceType to an eRADAR_SOURCE_TYPE (0: none),
// deviceText and secondText to texts about the device, deviceNumber to its number.
ZUVO_DLGRESOURCE_API int ZUVO_CALL ZUVO_DetectDeviceDlg_DoModal(HWND parent, int* sourceType,
                                                                CBaseStringA* deviceText,
                                                                CBaseStringA* secondText,
                                                                int* deviceNumber);

// A modal editor that changes record in place.
ZUVO_DLGRESOURCE_API int ZUVO_CALL ZUVO_RegisterSettingDlg_DoModal(HWND parent,
                                                                   tagRADARPARAMETER* record);

}  // extern "C"
