#pragma once
// The planner configuration and search behind the path command (path_commands.h).
#include <cstdint>
#include <vector>

#include "runtime/path/node.h"
#include "runtime/path/path_commands.h"
#include "runtime/path/planner.h"

namespace tvk {

struct PathCell {
    int32_t x;
    int32_t y;
    bool operator==(const PathCell&) const = default;
};

// The configuration the command searches with: orthogonal steps, closed set of
// 2^8 buckets, pool and open list sized to the map.
PlannerConfig path_command_config(const double* cells, int32_t width, int32_t height,
                                  double weight, int32_t start_x, int32_t start_y,
                                  int32_t goal_x, int32_t goal_y);

// Runs one search with `planner` and collects the path from start to goal into
// `path` (emptied when there is none). Returns false, leaving `path` as it was,
// when the planner cannot be initialised with `config`.
bool plan_path(Planner& planner, const PlannerConfig& config, std::vector<PathCell>& path);

}  // namespace tvk
