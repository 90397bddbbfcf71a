#pragma once
// A search node and the record a planner is configured with.
#include <cstdint>

namespace tvk {

// One search node. The pool hands nodes out without clearing them: whoever
// takes a node sets every field it relies on.
struct Node {
    Node* parent;       // null for the start node
    int32_t x;
    int32_t y;
    float f;            // priority
    float g;            // cost from the start
    Node* bucket_link;  // next node in the same closed-set bucket
};

struct PlannerConfig {
    int32_t start_x = 0;
    int32_t start_y = 0;
    int32_t goal_x = 0;
    int32_t goal_y = 0;
    uint8_t diagonal_cost = 0;   // 1: a diagonal step costs the cell cost x 1.4142137
    uint8_t diagonal_moves = 0;  // 1: the four diagonal neighbours are expanded too
    int32_t node_pool_size = 0;      // 0: map width x map height
    int32_t open_list_capacity = 0;  // 0: map width x map height
    int32_t closed_set_exponent = 0; // the closed set has 2^e buckets
    float heuristic_weight = 0.0f;   // w in f = g + w * (h - g), clamped to 0..1
    int32_t map_width = 0;
    int32_t map_height = 0;
    const double* map_cells = nullptr;  // element (x, y) at x + y * width
};

}  // namespace tvk
