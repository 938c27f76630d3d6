// Minimum-cost assignment of rows to columns (the Hungarian method), the global
// nearest-neighbour step of the tracker.
#pragma once

#include <vector>

namespace zuvo::radar {

// Costs at or above this value mark a pair that must not be assigned.
constexpr double kForbiddenCost = 1.0e9;

// cost holds rows x cols values, row by row. Answers, for every row, the column assigned to it
// or -1. As many rows as possible get an allowed column; among those assignments the total
// cost is smallest.
std::vector<int> AssignMinimumCost(const std::vector<double>& cost, int rows, int cols);

}  // namespace zuvo::radar
