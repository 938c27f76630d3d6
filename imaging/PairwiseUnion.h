// The union of many parts built as a balanced tree of pairwise unions. Portable.
//
// Folding each new part into one growing result costs the size of the result every time:
// quadratic in the number of parts, minutes for a noisy 4K alpha mask made of millions of
// runs. Combining only parts of similar size (like the carries of a binary counter) touches
// every piece about log2(parts) times instead; the union itself is the same, since it does
// not depend on the order.
#pragma once

#include <optional>
#include <utility>

namespace zuvo::imaging {

// Part is a movable value (a region handle owner); combine(a, b) answers the union of a and
// b as a new Part, or an empty optional when it failed.
template <typename Part, typename Combine>
class PairwiseUnion {
public:
    explicit PairwiseUnion(Combine combine) : m_combine(std::move(combine)) {}

    // Adds a part; false when a union failed (the union so far is then lost).
    bool Add(Part part) {
        m_empty = false;
        for (int level = 0; level < kLevels; ++level) {
            if (!m_pending[level]) {
                m_pending[level] = std::move(part);
                return true;
            }
            std::optional<Part> merged = m_combine(std::move(*m_pending[level]), std::move(part));
            m_pending[level].reset();
            if (!merged) {
                return false;
            }
            part = std::move(*merged);
        }
        return false;
    }

    // True until the first Add.
    bool Empty() const { return m_empty; }

    // The union of every part added, or an empty optional when none was added or a union
    // failed.
    std::optional<Part> Take() {
        std::optional<Part> result;
        for (int level = 0; level < kLevels; ++level) {
            if (!m_pending[level]) {
                continue;
            }
            if (!result) {
                result = std::move(m_pending[level]);
            } else {
                result = m_combine(std::move(*m_pending[level]), std::move(*result));
                if (!result) {
                    return std::nullopt;
                }
            }
            m_pending[level].reset();
        }
        return result;
    }

private:
    // Level k holds the union of 2^k parts; 40 levels hold more parts than memory can.
    static constexpr int kLevels = 40;

    Combine m_combine;
    std::optional<Part> m_pending[kLevels];
    bool m_empty = true;
};

}  // namespace zuvo::imaging
