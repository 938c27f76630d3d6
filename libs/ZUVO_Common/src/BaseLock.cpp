// CBaseLock: a recursive mutex behind an opaque pointer, so the public header needs no <mutex>.
#include <mutex>
#include <new>

#include "ZUVO_CommonCoreExtras.h"

namespace {

// Used by a lock whose own mutex could not be allocated: every such lock then shares this one.
// That only serialises more than needed; it never lets two threads in at once.
std::recursive_mutex& SharedFallbackMutex() {
    static std::recursive_mutex fallback;
    return fallback;
}

std::recursive_mutex& MutexOf(void* impl) {
    return impl != nullptr ? *static_cast<std::recursive_mutex*>(impl) : SharedFallbackMutex();
}

}  // namespace

CBaseLock::CBaseLock() : m_impl(new (std::nothrow) std::recursive_mutex) {}

CBaseLock::~CBaseLock() {
    delete static_cast<std::recursive_mutex*>(m_impl);
}

void CBaseLock::Lock() {
    try {
        MutexOf(m_impl).lock();
    } catch (...) {
        // std::system_error: the system refused the mutex (resource exhaustion). No exception
        // may leave the library and there is no way to answer failure here.
    }
}

void CBaseLock::Unlock() {
    MutexOf(m_impl).unlock();
}

CAutoBaseLock::CAutoBaseLock(CBaseLock& lock) : m_lock(lock) {
    m_lock.Lock();
}

CAutoBaseLock::~CAutoBaseLock() {
    m_lock.Unlock();
}
