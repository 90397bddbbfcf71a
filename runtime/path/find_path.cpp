#include "runtime/path/find_path.h"

#include <algorithm>

namespace tvk {

PlannerConfig path_command_config(const double* cells, int32_t width, int32_t height,
                                  double weight, int32_t start_x, int32_t start_y,
                                  int32_t goal_x, int32_t goal_y) {
    PlannerConfig config;
    config.start_x = start_x;
    config.start_y = start_y;
    config.goal_x = goal_x;
    config.goal_y = goal_y;
    config.diagonal_cost = 1;
    config.diagonal_moves = 0;
    config.node_pool_size = 0;
    config.open_list_capacity = 0;
    config.closed_set_exponent = 8;
    // A weight that is not a number counts as 0.
    config.heuristic_weight = static_cast<float>(weight > 1.0 ? 1.0 : (weight > 0.0 ? weight : 0.0));
    config.map_width = width;
    config.map_height = height;
    config.map_cells = cells;
    return config;
}

bool plan_path(Planner& planner, const PlannerConfig& config, std::vector<PathCell>& path) {
    if (!planner.initialise(config)) return false;
    planner.begin_search();
    planner.search();
    size_t n = 0;
    for (const Node* node = planner.path_end(); node; node = node->parent) ++n;
    path.resize(n);
    for (const Node* node = planner.path_end(); node; node = node->parent) path[--n] = {node->x, node->y};
    planner.release_search();
    return true;
}

namespace {

// The search itself; false when the planner could not be initialised.
bool search_map(const NumberArray& map, double weight, int32_t start_x, int32_t start_y,
                int32_t goal_x, int32_t goal_y, std::vector<PathCell>& cells) {
    const PlannerConfig config = path_command_config(map.elements, map.dim1, std::max(map.dim2, 0), weight,
                                                     start_x, start_y, goal_x, goal_y);
    AStarPlanner planner;
    return plan_path(planner, config, cells);
}

// The integer form; `searched` tells whether a search ran at all.
int32_t find_path_cells(const NumberArray& map, IntArray& path, double weight, int32_t start_x,
                        int32_t start_y, int32_t goal_x, int32_t goal_y, bool& searched) {
    std::vector<PathCell> cells;
    searched = search_map(map, weight, start_x, start_y, goal_x, goal_y, cells);
    if (!searched) return 0;
    if (cells.empty()) {
        array_dim(path, 0);
        return 0;
    }
    const int32_t n = static_cast<int32_t>(cells.size());
    array_dim(path, n, 2);
    for (int32_t i = 0; i < n; ++i) {
        path(i, 0) = cells[i].x;
        path(i, 1) = cells[i].y;
    }
    return path.dim1;
}

}  // namespace

int32_t find_path(const NumberArray& map, IntArray& path, double weight, int32_t start_x,
                  int32_t start_y, int32_t goal_x, int32_t goal_y) {
    bool searched = false;
    return find_path_cells(map, path, weight, start_x, start_y, goal_x, goal_y, searched);
}

int32_t find_path(const NumberArray& map, NumberArray& path, double weight, int32_t start_x,
                  int32_t start_y, int32_t goal_x, int32_t goal_y) {
    IntArray cells;
    bool searched = false;
    const int32_t n = find_path_cells(map, cells, weight, start_x, start_y, goal_x, goal_y, searched);
    // An impossible search leaves the path array as it was, as the integer form does.
    if (!searched) return 0;
    array_dim(path, n, 2);
    for (int32_t i = 0; i < n; ++i) {
        path(i, 0) = cells(i, 0);
        path(i, 1) = cells(i, 1);
    }
    return n;
}

int32_t find_path(const IntArray& map, IntArray& path, double weight, int32_t start_x,
                  int32_t start_y, int32_t goal_x, int32_t goal_y) {
    NumberArray costs;
    const int32_t width = map.dim1;
    const int32_t height = std::max(map.dim2, 0);
    array_dim(costs, width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) costs(x, y) = map(x, y);
    return find_path(costs, path, weight, start_x, start_y, goal_x, goal_y);
}

}  // namespace tvk
