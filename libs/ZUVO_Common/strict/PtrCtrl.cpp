// CPtrCtrl of the strict flavour: a plain array of pointers, grown by half its size.
//
// It keeps to the promise (-1 appends and 0 inserts in front, null past the end, removal
// answers the entry, the first match of a comparison, a move to the front) and differs from
// our normal ring buffer wherever the promise leaves room: AddData answers the new count rather
// than the item's index, a position past the end is refused, RemoveAll keeps the storage for
// the next entries, and MoveData takes only moves that fit. A caller that leans on more than
// the promise shows up in the tests that run with this flavour.
#include <climits>
#include <cstdlib>
#include <cstring>

#include "ZUVO_CommonCore.h"

namespace {

constexpr size_t kFirstCapacity = 4;
constexpr size_t kMaxEntries = static_cast<size_t>(INT_MAX);

}  // namespace

CPtrCtrl::CPtrCtrl() : m_items(nullptr), m_capacity(0), m_head(0), m_count(0) {}

CPtrCtrl::~CPtrCtrl() {
    std::free(m_items);
}

int CPtrCtrl::AddData(void* item, int position) {
    // m_head stays 0: the entries always start at the front of the storage.
    if (position < -1 || (position >= 0 && static_cast<size_t>(position) > m_count)) {
        return -1;
    }
    if (m_count == m_capacity) {
        const size_t grown = m_capacity == 0 ? kFirstCapacity : m_capacity + m_capacity / 2;
        if (grown > kMaxEntries) {
            return -1;
        }
        void* fresh = std::realloc(m_items, grown * sizeof(void*));
        if (fresh == nullptr) {
            return -1;
        }
        m_items = static_cast<void**>(fresh);
        m_capacity = grown;
    }
    const size_t at = position == -1 ? m_count : static_cast<size_t>(position);
    std::memmove(m_items + at + 1, m_items + at, (m_count - at) * sizeof(void*));
    m_items[at] = item;
    ++m_count;
    return static_cast<int>(m_count);
}

void* CPtrCtrl::GetAt(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_count) {
        return nullptr;
    }
    return m_items[index];
}

int CPtrCtrl::GetCount() const {
    return static_cast<int>(m_count);
}

void* CPtrCtrl::RemoveAt(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_count) {
        return nullptr;
    }
    void* item = m_items[index];
    const size_t at = static_cast<size_t>(index);
    std::memmove(m_items + at, m_items + at + 1, (m_count - at - 1) * sizeof(void*));
    --m_count;
    return item;
}

void CPtrCtrl::RemoveAll() {
    m_count = 0;
}

int CPtrCtrl::FindData(const void* key, PtrCompareFunc compare) const {
    if (compare == nullptr) {
        return -1;
    }
    for (size_t i = 0; i < m_count; ++i) {
        if (compare(m_items[i], key) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int CPtrCtrl::MoveData(int from, int count, int to) {
    if (from < 0 || count <= 0 || to < 0 || static_cast<size_t>(from) >= m_count ||
        static_cast<size_t>(count) > m_count - static_cast<size_t>(from) ||
        static_cast<size_t>(to) > m_count - static_cast<size_t>(count)) {
        return 0;
    }
    // Rotate [low, high) so that the block lands at to: the block and the entries it passes
    // swap places, by way of a copy of the block.
    const size_t block = static_cast<size_t>(count) * sizeof(void*);
    void** saved = static_cast<void**>(std::malloc(block));
    if (saved == nullptr) {
        return 0;
    }
    std::memcpy(saved, m_items + from, block);
    if (to < from) {
        std::memmove(m_items + to + count, m_items + to,
                     static_cast<size_t>(from - to) * sizeof(void*));
    } else {
        std::memmove(m_items + from, m_items + from + count,
                     static_cast<size_t>(to - from) * sizeof(void*));
    }
    std::memcpy(m_items + to, saved, block);
    std::free(saved);
    return 1;
}

CPtrListCtrl::CPtrListCtrl() = default;
CPtrListCtrl::~CPtrListCtrl() = default;

CPtrArrayCtrl::CPtrArrayCtrl() = default;
CPtrArrayCtrl::~CPtrArrayCtrl() = default;
