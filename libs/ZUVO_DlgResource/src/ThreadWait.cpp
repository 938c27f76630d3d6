#include "ThreadWait.h"

namespace zuvo::dlg {

DWORD WaitAnsweringSentMessages(const HANDLE* objects, DWORD count) {
    for (;;) {
        DWORD woken = MsgWaitForMultipleObjects(count, objects, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woken != WAIT_OBJECT_0 + count) {
            return woken;  // signalled, or the handles are unusable
        }
        // Peeking for sent messages runs their window procedures; nothing is removed.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace zuvo::dlg
