#pragma once
// Weighted A* over a grid of cell costs: the abstract planner with its node
// pool, cost grid, sorted open list and closed set, and the runtime's search.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "runtime/path/fixed_deque.h"
#include "runtime/path/node.h"
#include "runtime/path/node_factory.h"
#include "runtime/path/node_hash_table.h"

namespace tvk {

// A planner lives for one command: construct, initialise, begin_search,
// search, release_search, destroy.
class Planner {
public:
    Planner() = default;
    Planner(const Planner&) = delete;
    Planner& operator=(const Planner&) = delete;
    virtual ~Planner() = default;

    // Fails (returns false) when the start or goal lies outside the map, when
    // they are the same cell, or when no cell of the map is passable.
    bool initialise(const PlannerConfig& config);

    virtual void begin_search();
    // Returns 1 when a path to the goal was found, 0 otherwise.
    virtual int32_t search() = 0;
    // Returns every node of the open list and the closed set to the pool.
    virtual void release_search();

    bool finished() const { return finished_ != 0; }
    // The goal node of the path found, or null; follow parent links to the start.
    const Node* path_end() const { return path_end_; }
    const PlannerConfig& config() const { return config_; }
    int32_t search_count() const { return search_counter_; }
    // The normalised cost of a cell: -1 for a wall, otherwise above 1 and at most 2.
    float cell_cost(int32_t x, int32_t y) const { return cost_grid_[cell_index(x, y)]; }

    // The neighbour order of an expansion; the diagonal ones are used only
    // when the configuration asks for diagonal moves.
    struct Step {
        int8_t dx;
        int8_t dy;
        bool diagonal;
    };
    static constexpr Step kSteps[8] = {{-1, -1, true}, {0, -1, false}, {1, -1, true},
                                       {1, 0, false},  {-1, 0, false}, {-1, 1, true},
                                       {0, 1, false},  {1, 1, true}};
    static constexpr float kDiagonalFactor = 1.4142137f;

protected:
    size_t cell_index(int32_t x, int32_t y) const {
        return static_cast<size_t>(x) + static_cast<size_t>(y) * static_cast<size_t>(config_.map_width);
    }
    bool inside(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < config_.map_width && y < config_.map_height;
    }
    bool is_goal(const Node* node) const {
        return node->x == config_.goal_x && node->y == config_.goal_y;
    }
    // g' of a step into a cell of cost `cost`.
    float step_cost(float g, float cost, bool diagonal) const {
        return g + cost * (diagonal && config_.diagonal_cost ? kDiagonalFactor : 1.0f);
    }
    // f = g + w * (h - g) with h the Manhattan distance to the goal in cells.
    float priority(float g, int32_t x, int32_t y) const {
        const float h = static_cast<float>(std::abs(config_.goal_x - x) + std::abs(config_.goal_y - y));
        return g + config_.heuristic_weight * (h - g);
    }
    // Takes the start node from the pool and queues it.
    Node* push_start_node();
    // Keeps the open list sorted by f, largest at the front: the node goes in
    // front of every queued node of equal f, so among equal f the node queued
    // first is taken first.
    bool open_list_insert(Node* node);
    // The first logical position whose node has f <= `f`.
    int32_t open_list_position(float f) const;

    uint8_t finished_ = 0;
    NodeFactory pool_;
    PlannerConfig config_;
    std::unique_ptr<float[]> cost_grid_;
    int32_t search_counter_ = 0;
    FixedDeque open_list_;
    NodeHashTable closed_set_;
    Node* path_end_ = nullptr;
};

// The runtime's search. It visits nodes in exactly the order of the plain
// algorithm (sorted open list, closed set, open-list scan) and so returns the
// same paths, but finds a cell's node through a per-cell index instead of
// scanning the open list and walking closed-set buckets.
class AStarPlanner : public Planner {
public:
    void begin_search() override;
    int32_t search() override;
    void release_search() override;

private:
    // Where `node` sits in the open list (its f is unchanged since it was queued).
    int32_t open_list_find(const Node* node) const;
    void ensure_index();

    // cell -> its node (null when the search has not reached the cell), and
    // whether that node is closed. Both are zero-filled lazily by the system.
    struct FreeDeleter {
        void operator()(void* p) const { std::free(p); }
    };
    std::unique_ptr<Node*[], FreeDeleter> cell_node_;
    std::unique_ptr<uint8_t[], FreeDeleter> cell_closed_;
    size_t index_cells_ = 0;
    bool index_dirty_ = false;  // entries left by a search not yet released
    int32_t closed_count_ = 0;
};

}  // namespace tvk
