// Owners of the dialog library's ready-made windows: each frees its window with the library's
// own destroy function.
#pragma once

#include "ZUVO_DlgResource.h"
#include "framework/Handles.h"

namespace zuvo {

struct WaitingDlgTraits {
    using Handle = ZUVO_WAITINGDLG_HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { ZUVO_WaitingDlg_Destroy(handle); }
};

struct EulaDlgTraits {
    using Handle = ZUVO_EULADLG_HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { ZUVO_EULADlg_Destroy(handle); }
};

using UniqueWaitingDlg = UniqueHandle<WaitingDlgTraits>;
using UniqueEulaDlg = UniqueHandle<EulaDlgTraits>;

}  // namespace zuvo
