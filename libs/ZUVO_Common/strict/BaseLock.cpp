// CBaseLock of the strict flavour: not recursive. The promise is mutual exclusion, nothing
// about a thread locking twice; our normal lock allows it, a family library need not. Rather
// than hang, a second Lock by the owning thread (or an Unlock by another thread) ends the
// process with a diagnostic line, so a test run with this flavour names the fault.
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <new>
#include <thread>

#include "ZUVO_CommonCore.h"

namespace {

struct StrictMutex {
    std::mutex mutex;
    std::atomic<std::thread::id> owner{};
};

// Used by a lock whose own mutex could not be allocated; only serialises more than needed.
StrictMutex& SharedFallback() {
    static StrictMutex fallback;
    return fallback;
}

StrictMutex& MutexOf(void* impl) {
    return impl != nullptr ? *static_cast<StrictMutex*>(impl) : SharedFallback();
}

[[noreturn]] void Misuse(const char* what) {
    DbgOutputA(2, "CBaseLock: %s\r\n", what);
    std::abort();
}

}  // namespace

CBaseLock::CBaseLock() : m_impl(new (std::nothrow) StrictMutex) {}

CBaseLock::~CBaseLock() {
    delete static_cast<StrictMutex*>(m_impl);
}

void CBaseLock::Lock() {
    StrictMutex& strict = MutexOf(m_impl);
    if (strict.owner.load() == std::this_thread::get_id()) {
        Misuse("locked again by the thread that holds it");
    }
    try {
        strict.mutex.lock();
    } catch (...) {
        Misuse("the system refused the mutex");
    }
    strict.owner.store(std::this_thread::get_id());
}

void CBaseLock::Unlock() {
    StrictMutex& strict = MutexOf(m_impl);
    if (strict.owner.load() != std::this_thread::get_id()) {
        Misuse("unlocked by a thread that does not hold it");
    }
    strict.owner.store(std::thread::id());
    strict.mutex.unlock();
}

CAutoBaseLock::CAutoBaseLock(CBaseLock& lock) : m_lock(lock) {
    m_lock.Lock();
}

CAutoBaseLock::~CAutoBaseLock() {
    m_lock.Unlock();
}
