// Owners of the dialog library's windows: the waiting window and the agreement window are
// destroyed with their owner, on every way out.
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
