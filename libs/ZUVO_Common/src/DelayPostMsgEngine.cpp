// Delayed window messages: a worker thread sleeps until the earliest entry is due and posts
// it. Entries are ordered by due time, then by the order they were added.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <new>
#include <thread>
#include <utility>

#include "ZUVO_CommonExtras.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Entry {
    HWND target;
    HWND owner;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DelayPostCallback callback;
    void* context;
};

// Key: due time, then a sequence number so that equal times keep their order.
using Key = std::pair<Clock::time_point, unsigned long long>;

struct Engine {
    std::mutex mutex;
    std::condition_variable wake;
    std::map<Key, Entry> queue;
    unsigned long long sequence = 0;
    bool stopping = false;
    std::thread worker;

    void Run() noexcept {
        std::unique_lock<std::mutex> lock(mutex);
        while (!stopping) {
            if (queue.empty()) {
                wake.wait(lock);
                continue;
            }
            auto first = queue.begin();
            if (Clock::now() < first->first.first) {
                wake.wait_until(lock, first->first.first);
                continue;
            }
            Entry entry = first->second;
            queue.erase(first);
            // Post outside the lock: a callback may queue or cancel entries itself.
            lock.unlock();
            if (entry.callback != nullptr) {
                entry.callback(entry.target, entry.message, entry.wParam, entry.lParam,
                               entry.context);
            } else if (!PostMessageW(entry.target, entry.message, entry.wParam, entry.lParam)) {
                DbgOutputA(2, "DelayPostMsg: PostMessage(%p, %u) failed: %lu\r\n",
                           static_cast<void*>(entry.target), entry.message, GetLastError());
            }
            lock.lock();
        }
    }
};

Engine* Get(void* impl) {
    return static_cast<Engine*>(impl);
}

}  // namespace

CDelayPostMsgEngine::CDelayPostMsgEngine() : m_impl(new (std::nothrow) Engine()) {}

CDelayPostMsgEngine::~CDelayPostMsgEngine() {
    Stop();
    delete Get(m_impl);
}

int CDelayPostMsgEngine::Start() {
    Engine* engine = Get(m_impl);
    if (engine == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(engine->mutex);
    if (engine->worker.joinable()) {
        return 1;
    }
    engine->stopping = false;
    try {
        engine->worker = std::thread([engine] { engine->Run(); });
    } catch (...) {
        return 0;
    }
    return 1;
}

void CDelayPostMsgEngine::Stop() {
    Engine* engine = Get(m_impl);
    if (engine == nullptr) {
        return;
    }
    std::thread worker;
    {
        std::lock_guard<std::mutex> lock(engine->mutex);
        engine->stopping = true;
        engine->queue.clear();
        worker = std::move(engine->worker);
    }
    engine->wake.notify_all();
    if (worker.joinable() && worker.get_id() != std::this_thread::get_id()) {
        worker.join();
    } else if (worker.joinable()) {
        worker.detach();  // Stop called from a callback on the worker itself
    }
}

int CDelayPostMsgEngine::DelayPostMsg(uint32_t delayMs, HWND target, HWND owner, UINT message,
                                      WPARAM wParam, LPARAM lParam, DelayPostCallback callback,
                                      void* context) {
    Engine* engine = Get(m_impl);
    if (engine == nullptr) {
        return 0;
    }
    {
        std::lock_guard<std::mutex> lock(engine->mutex);
        if (!engine->worker.joinable() || engine->stopping) {
            return 0;
        }
        Key key(Clock::now() + std::chrono::milliseconds(delayMs), engine->sequence++);
        try {
            engine->queue.emplace(key,
                                  Entry{target, owner, message, wParam, lParam, callback, context});
        } catch (...) {
            return 0;
        }
    }
    engine->wake.notify_all();
    return 1;
}

int CDelayPostMsgEngine::RemoveDelayPostMsg(HWND target, HWND owner, UINT message,
                                            int allOfMessage) {
    Engine* engine = Get(m_impl);
    if (engine == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(engine->mutex);
    int removed = 0;
    for (auto it = engine->queue.begin(); it != engine->queue.end();) {
        const Entry& entry = it->second;
        if (entry.target == target && entry.owner == owner && entry.message == message) {
            it = engine->queue.erase(it);
            ++removed;
            if (!allOfMessage) {
                break;
            }
        } else {
            ++it;
        }
    }
    return removed;
}

// ---------------------------------------------------------------------------------------------
// What our library adds: CDelayPostMsgEngineEx
// ---------------------------------------------------------------------------------------------

CDelayPostMsgEngineEx::CDelayPostMsgEngineEx() = default;
CDelayPostMsgEngineEx::~CDelayPostMsgEngineEx() = default;

int CDelayPostMsgEngineEx::IsRunning() const {
    Engine* engine = Get(m_impl);
    if (engine == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(engine->mutex);
    return engine->worker.joinable() && !engine->stopping ? 1 : 0;
}

int CDelayPostMsgEngineEx::GetPendingCount() const {
    Engine* engine = Get(m_impl);
    if (engine == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> lock(engine->mutex);
    return static_cast<int>(engine->queue.size());
}
