// The objects behind the opaque handles the library hands out. A handle is looked up before it
// is used, so a handle that was destroyed already, or never came from here, is refused instead
// of being followed.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace zuvo::dlg {

template <typename T>
class HandleTable {
public:
    // Takes the object over and answers its handle (null for a null object).
    void* Insert(std::unique_ptr<T> object) {
        if (!object) {
            return nullptr;
        }
        void* handle = object.get();
        std::lock_guard<std::mutex> guard(m_mutex);
        m_objects.emplace(handle, std::move(object));
        return handle;
    }

    // The object of a live handle, or null. Valid until the handle is taken out again.
    T* Find(void* handle) const {
        std::lock_guard<std::mutex> guard(m_mutex);
        auto found = m_objects.find(handle);
        return found == m_objects.end() ? nullptr : found->second.get();
    }

    // Removes the handle and gives its object back (null when the handle is not live).
    std::unique_ptr<T> Take(void* handle) {
        std::lock_guard<std::mutex> guard(m_mutex);
        auto found = m_objects.find(handle);
        if (found == m_objects.end()) {
            return nullptr;
        }
        std::unique_ptr<T> object = std::move(found->second);
        m_objects.erase(found);
        return object;
    }

private:
    mutable std::mutex m_mutex;
    std::map<void*, std::unique_ptr<T>> m_objects;
};

}  // namespace zuvo::dlg
