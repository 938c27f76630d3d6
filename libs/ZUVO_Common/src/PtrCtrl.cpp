// CPtrCtrl: a ring buffer of caller-owned pointers.
//
// The live entries are m_count slots starting at m_head, wrapping at m_capacity. Inserting or
// removing in the middle shifts whichever side of the position is shorter, so both ends stay
// O(1) and the middle costs at most half the entries.
#include <climits>
#include <cstdlib>

#include "ZUVO_CommonCoreExtras.h"

namespace {

constexpr size_t kFirstCapacity = 8;
// Indexes are ints in the interface.
constexpr size_t kMaxEntries = static_cast<size_t>(INT_MAX);

// The slot of entry index in a ring of capacity slots whose first entry is at head.
inline size_t Physical(size_t head, size_t capacity, size_t index) {
    return (head + index) % capacity;
}

// Doubles the ring's capacity, putting the entries at the start of the new storage.
bool Grow(void**& items, size_t& capacity, size_t& head, size_t count) {
    const size_t grown = capacity == 0 ? kFirstCapacity : capacity * 2;
    if (grown > kMaxEntries) {
        return false;
    }
    void** fresh = static_cast<void**>(std::malloc(grown * sizeof(void*)));
    if (fresh == nullptr) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        fresh[i] = items[Physical(head, capacity, i)];
    }
    std::free(items);
    items = fresh;
    capacity = grown;
    head = 0;
    return true;
}

}  // namespace

CPtrCtrl::CPtrCtrl() : m_items(nullptr), m_capacity(0), m_head(0), m_count(0) {}

CPtrCtrl::~CPtrCtrl() {
    std::free(m_items);
}

int CPtrCtrl::AddData(void* item, int position) {
    const auto slot = [this](size_t entry) -> void*& {
        return m_items[Physical(m_head, m_capacity, entry)];
    };
    if (m_count == m_capacity && !Grow(m_items, m_capacity, m_head, m_count)) {
        return -1;
    }
    size_t at = m_count;
    if (position >= 0 && static_cast<size_t>(position) < m_count) {
        at = static_cast<size_t>(position);
    }
    if (at < m_count / 2) {
        // Shift the entries before the position one slot towards the front.
        m_head = (m_head + m_capacity - 1) % m_capacity;
        for (size_t i = 0; i < at; ++i) {
            slot(i) = slot(i + 1);
        }
    } else {
        // Shift the entries from the position on one slot towards the back.
        for (size_t i = m_count; i > at; --i) {
            slot(i) = slot(i - 1);
        }
    }
    slot(at) = item;
    ++m_count;
    return static_cast<int>(at);
}

void* CPtrCtrl::GetAt(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_count) {
        return nullptr;
    }
    return m_items[Physical(m_head, m_capacity, static_cast<size_t>(index))];
}

int CPtrCtrl::GetCount() const {
    return static_cast<int>(m_count);
}

void* CPtrCtrl::RemoveAt(int index) {
    const auto slot = [this](size_t entry) -> void*& {
        return m_items[Physical(m_head, m_capacity, entry)];
    };
    if (index < 0 || static_cast<size_t>(index) >= m_count) {
        return nullptr;
    }
    const size_t at = static_cast<size_t>(index);
    void* item = slot(at);
    if (at < m_count / 2) {
        for (size_t i = at; i > 0; --i) {
            slot(i) = slot(i - 1);
        }
        m_head = (m_head + 1) % m_capacity;
    } else {
        for (size_t i = at; i + 1 < m_count; ++i) {
            slot(i) = slot(i + 1);
        }
    }
    --m_count;
    if (m_count == 0) {
        m_head = 0;
    }
    return item;
}

void CPtrCtrl::RemoveAll() {
    std::free(m_items);
    m_items = nullptr;
    m_capacity = 0;
    m_head = 0;
    m_count = 0;
}

int CPtrCtrl::FindData(const void* key, PtrCompareFunc compare) const {
    if (compare == nullptr) {
        return -1;
    }
    for (size_t i = 0; i < m_count; ++i) {
        if (compare(m_items[Physical(m_head, m_capacity, i)], key) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int CPtrCtrl::MoveData(int from, int count, int to) {
    if (from < 0 || static_cast<size_t>(from) >= m_count || count <= 0) {
        return 0;
    }
    const size_t start = static_cast<size_t>(from);
    const size_t moved =
        static_cast<size_t>(count) > m_count - start ? m_count - start : static_cast<size_t>(count);
    // A target past the end, or negative as in AddData's "-1 appends", puts the block last.
    const size_t lastStart = m_count - moved;
    size_t target = static_cast<size_t>(to);
    if (to < 0 || target > lastStart) {
        target = lastStart;
    }
    if (target == start) {
        return 0;
    }
    // Moving a block is a rotation of the range it crosses: [first, middle) and
    // [middle, last) swap places, done in place by three reversals.
    const size_t first = target < start ? target : start;
    const size_t middle = target < start ? start : start + moved;
    const size_t last = target < start ? start + moved : target + moved;
    const auto slot = [this](size_t entry) -> void*& {
        return m_items[Physical(m_head, m_capacity, entry)];
    };
    auto reverse = [&slot](size_t begin, size_t end) {
        while (begin + 1 < end) {
            --end;
            void* swap = slot(begin);
            slot(begin) = slot(end);
            slot(end) = swap;
            ++begin;
        }
    };
    reverse(first, middle);
    reverse(middle, last);
    reverse(first, last);
    return 1;
}

CPtrListCtrl::CPtrListCtrl() = default;
CPtrListCtrl::~CPtrListCtrl() = default;

CPtrArrayCtrl::CPtrArrayCtrl() = default;
CPtrArrayCtrl::~CPtrArrayCtrl() = default;
