// Waiting for another thread that owns windows.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace zuvo::dlg {

// Waits until one of the objects is signalled while answering the messages other threads send
// to this one, and answers WaitForMultipleObjects' result. A window owned by one of this
// thread's windows may send to it at any time (activation, focus); a plain wait would then
// leave both threads waiting for each other.
DWORD WaitAnsweringSentMessages(const HANDLE* objects, DWORD count);

inline DWORD WaitAnsweringSentMessages(HANDLE object) {
    return WaitAnsweringSentMessages(&object, 1);
}

}  // namespace zuvo::dlg
