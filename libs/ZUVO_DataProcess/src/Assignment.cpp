#include "Assignment.h"

#include <cstddef>
#include <limits>

namespace zuvo::radar {

namespace {

// Hungarian method with potentials for n <= m; a(i, j) is 1-based. Answers the row (1-based,
// 0 for none) assigned to every column 1..m in p.
template <typename CostOf>
std::vector<int> SolveRowsNotMoreThanColumns(int n, int m, CostOf a) {
    const double infinity = std::numeric_limits<double>::infinity();
    std::vector<double> u(n + 1, 0.0);
    std::vector<double> v(m + 1, 0.0);
    std::vector<int> p(m + 1, 0);
    std::vector<int> way(m + 1, 0);
    for (int i = 1; i <= n; ++i) {
        p[0] = i;
        int j0 = 0;
        std::vector<double> minv(m + 1, infinity);
        std::vector<bool> used(m + 1, false);
        do {
            used[j0] = true;
            const int i0 = p[j0];
            double delta = infinity;
            int j1 = 0;
            for (int j = 1; j <= m; ++j) {
                if (used[j]) {
                    continue;
                }
                const double current = a(i0, j) - u[i0] - v[j];
                if (current < minv[j]) {
                    minv[j] = current;
                    way[j] = j0;
                }
                if (minv[j] < delta) {
                    delta = minv[j];
                    j1 = j;
                }
            }
            for (int j = 0; j <= m; ++j) {
                if (used[j]) {
                    u[p[j]] += delta;
                    v[j] -= delta;
                } else {
                    minv[j] -= delta;
                }
            }
            j0 = j1;
        } while (p[j0] != 0);
        do {
            const int j1 = way[j0];
            p[j0] = p[j1];
            j0 = j1;
        } while (j0 != 0);
    }
    return p;
}

}  // namespace

std::vector<int> AssignMinimumCost(const std::vector<double>& cost, int rows, int cols) {
    std::vector<int> result(rows > 0 ? rows : 0, -1);
    if (rows <= 0 || cols <= 0 || cost.size() < static_cast<size_t>(rows) * cols) {
        return result;
    }
    // Forbidden pairs take one large finite cost, so the method first maximises the number of
    // allowed pairs and then minimises their total; they are dropped afterwards.
    auto at = [&](int r, int c) {
        const double value = cost[static_cast<size_t>(r) * cols + c];
        return value < kForbiddenCost ? value : kForbiddenCost;
    };
    if (rows <= cols) {
        const std::vector<int> p =
            SolveRowsNotMoreThanColumns(rows, cols, [&](int i, int j) { return at(i - 1, j - 1); });
        for (int j = 1; j <= cols; ++j) {
            if (p[j] != 0) {
                result[p[j] - 1] = j - 1;
            }
        }
    } else {
        const std::vector<int> p =
            SolveRowsNotMoreThanColumns(cols, rows, [&](int i, int j) { return at(j - 1, i - 1); });
        for (int j = 1; j <= rows; ++j) {
            if (p[j] != 0) {
                result[j - 1] = p[j] - 1;
            }
        }
    }
    for (int r = 0; r < rows; ++r) {
        if (result[r] >= 0 && at(r, result[r]) >= kForbiddenCost) {
            result[r] = -1;
        }
    }
    return result;
}

}  // namespace zuvo::radar
