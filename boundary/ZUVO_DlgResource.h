// ZUVO_DlgResource: ready-made windows of the family (waiting window, licence agreement,
// device detection, register settings). Handles are opaque. Texts follow the program's
// interface language (English or Simplified Chinese).
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

// A hidden modeless waiting window owned by parent; null on failure.
ZUVO_DLGRESOURCE_API ZUVO_WAITINGDLG_HANDLE ZUVO_CALL ZUVO_WaitingDlg_Create(HWND parent);
// Shows the window centred on its parent with the text and an animated progress bar.
ZUVO_DLGRESOURCE_API void ZUVO_CALL ZUVO_WaitingDlg_Show(ZUVO_WAITINGDLG_HANDLE dialog,
                                                         int reserved1, int reserved2,
                                                         const wchar_t* text);
ZUVO_DLGRESOURCE_API void ZUVO_CALL ZUVO_WaitingDlg_Hide(ZUVO_WAITINGDLG_HANDLE dialog);
ZUVO_DLGRESOURCE_API void ZUVO_CALL ZUVO_WaitingDlg_Destroy(ZUVO_WAITINGDLG_HANDLE dialog);

// The licence agreement of productName (secondText: a second line, or null).
ZUVO_DLGRESOURCE_API ZUVO_EULADLG_HANDLE ZUVO_CALL ZUVO_EULADlg_Create(HWND parent,
                                                                       const wchar_t* productName,
                                                                       const wchar_t* secondText);
// Shows the agreement modally unless this user accepted it before (the DWORD value
// EULAAccepted = 1 under HKEY_CURRENT_USER\Software\ZUVO\<product name>). Answers non-zero
// when the agreement is accepted (now or before).
ZUVO_DLGRESOURCE_API int ZUVO_CALL ZUVO_EULADlg_CheckShowEULA(ZUVO_EULADLG_HANDLE dialog);
// mode ZUVO_EULADLG_SHOW_ABOUT shows the about view modally.
ZUVO_DLGRESOURCE_API int ZUVO_CALL ZUVO_EULADlg_Show(ZUVO_EULADLG_HANDLE dialog, int mode);
ZUVO_DLGRESOURCE_API void ZUVO_CALL ZUVO_EULADlg_Destroy(ZUVO_EULADLG_HANDLE dialog);

// Searches for devices modally. sourceType receives an eRADAR_SOURCE_TYPE (0: nothing found or
// cancelled), deviceText and secondText readable descriptions, deviceNumber the port number or
// index. Answers non-zero when a device was found.
ZUVO_DLGRESOURCE_API int ZUVO_CALL ZUVO_DetectDeviceDlg_DoModal(HWND parent, int* sourceType,
                                                                CBaseStringA* deviceText,
                                                                CBaseStringA* secondText,
                                                                int* deviceNumber);

// Edits the register table of record modally; the record changes only on OK. Answers IDOK or
// IDCANCEL.
ZUVO_DLGRESOURCE_API int ZUVO_CALL ZUVO_RegisterSettingDlg_DoModal(HWND parent,
                                                                   tagRADARPARAMETER* record);

}  // extern "C"
