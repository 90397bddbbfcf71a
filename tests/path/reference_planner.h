#pragma once
// The plain weighted A* search, step for step: the closed set is searched
// through its hash buckets and the open list by a scan from the back. It is
// kept to check AStarPlanner against (same paths) and to measure it by.
// Header-only so that both the tests and the benchmark can use it.
#include "runtime/path/planner.h"

namespace tvk {

class ReferenceAStarPlanner : public Planner {
public:
    void begin_search() override {
        Planner::begin_search();
        push_start_node();
    }

    int32_t search() override {
        ++search_counter_;
        while (!open_list_.empty()) {
            Node* current = open_list_.back();
            open_list_.pop_back();
            if (is_goal(current)) {
                closed_set_.insert(current);
                finished_ = 1;
                path_end_ = current;
                return 1;
            }
            for (const Step& step : kSteps) {
                if (step.diagonal && !config_.diagonal_moves) continue;
                const int32_t x = current->x + step.dx;
                const int32_t y = current->y + step.dy;
                if (!inside(x, y)) continue;
                const float cost = cost_grid_[cell_index(x, y)];
                if (cost == -1.0f) continue;
                const float g = step_cost(current->g, cost, step.diagonal);
                const float f = priority(g, x, y);
                if (Node* closed = closed_set_.find(x, y)) {
                    if (closed->g > g) {
                        closed_set_.remove_found();
                        closed->parent = current;
                        closed->g = g;
                        closed->f = f;
                        open_list_insert(closed);
                    }
                    continue;
                }
                int32_t i = open_list_.size() - 1;
                while (i >= 0 && (open_list_.at(i)->x != x || open_list_.at(i)->y != y)) --i;
                if (i >= 0) {
                    Node* open = open_list_.at(i);
                    if (open->g > g) {
                        open_list_.erase(i);
                        open->parent = current;
                        open->g = g;
                        open->f = f;
                        open_list_insert(open);
                    }
                    continue;
                }
                Node* node = pool_.take();
                if (!node) continue;
                node->parent = current;
                node->x = x;
                node->y = y;
                node->g = g;
                node->f = f;
                node->bucket_link = nullptr;
                open_list_insert(node);
            }
            closed_set_.insert(current);
        }
        finished_ = open_list_.empty() ? 1 : 0;
        return 0;
    }
};

}  // namespace tvk
