#include "runtime/path/planner.h"

#include <cfloat>
#include <cstring>
#include <limits>
#include <new>

namespace tvk {

namespace {

// A map value as a single float: not positive (or not a number) is a wall;
// values beyond the float range are capped so that the normalisation below
// cannot produce infinities or NaNs, and values too small for a float stay
// passable.
float map_value(double v) {
    if (!(v > 0.0)) return -1.0f;
    if (v >= static_cast<double>(FLT_MAX)) return FLT_MAX;
    const float f = static_cast<float>(v);
    return f > 0.0f ? f : std::numeric_limits<float>::denorm_min();
}

}  // namespace

bool Planner::initialise(const PlannerConfig& config) {
    const int32_t width = config.map_width;
    const int32_t height = config.map_height;
    const auto in_map = [&](int32_t x, int32_t y) { return x >= 0 && x < width && y >= 0 && y < height; };
    if (!in_map(config.start_x, config.start_y) || !in_map(config.goal_x, config.goal_y)) return false;
    if (config.start_x == config.goal_x && config.start_y == config.goal_y) return false;
    const int64_t cells = int64_t{width} * int64_t{height};
    if (!config.map_cells || cells > std::numeric_limits<int32_t>::max()) return false;

    cost_grid_.reset();
    search_counter_ = 0;
    path_end_ = nullptr;

    auto grid = std::make_unique_for_overwrite<float[]>(static_cast<size_t>(cells));
    float largest = 0.0f;
    for (int64_t i = 0; i < cells; ++i) {
        const float v = map_value(config.map_cells[i]);
        grid[i] = v;
        if (v > largest) largest = v;
    }
    if (largest <= 0.0f) return false;
    // Passable cells cost between just over 1 and 2.
    for (int64_t i = 0; i < cells; ++i)
        if (grid[i] > 0.0f) grid[i] = grid[i] / largest + 1.0f;
    cost_grid_ = std::move(grid);

    const int32_t all = static_cast<int32_t>(cells);
    pool_.resize(config.node_pool_size > 0 ? config.node_pool_size : all);
    open_list_.set_capacity(config.open_list_capacity > 0 ? config.open_list_capacity : all);
    closed_set_.set_size(config.closed_set_exponent);
    config_ = config;
    search_counter_ = 0;
    const float w = config.heuristic_weight;
    config_.heuristic_weight = w > 1.0f ? 1.0f : (w > 0.0f ? w : 0.0f);
    return true;
}

void Planner::begin_search() {
    finished_ = 0;
    search_counter_ = 0;
    path_end_ = nullptr;
}

void Planner::release_search() {
    pool_.give_back(open_list_.size());
    open_list_.clear();
    closed_set_.clear(pool_);
    path_end_ = nullptr;
    finished_ = 1;
}

Node* Planner::push_start_node() {
    Node* node = pool_.take();
    if (!node) return nullptr;
    node->parent = nullptr;
    node->x = config_.start_x;
    node->y = config_.start_y;
    node->g = 0.0f;
    node->f = 0.0f;
    node->bucket_link = nullptr;
    return open_list_.push_back(node) ? node : nullptr;
}

int32_t Planner::open_list_position(float f) const {
    int32_t lo = 0;
    int32_t hi = open_list_.size();
    while (lo < hi) {
        const int32_t mid = (lo + hi) / 2;
        if (open_list_.at(mid)->f > f)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

bool Planner::open_list_insert(Node* node) {
    return open_list_.insert(open_list_position(node->f), node);
}

void AStarPlanner::ensure_index() {
    const size_t cells = static_cast<size_t>(config_.map_width) * static_cast<size_t>(config_.map_height);
    if (cells == index_cells_ && cell_node_) {
        // release_search leaves the index clean; a search that was begun but
        // never released may have left entries behind.
        if (index_dirty_) {
            std::memset(cell_node_.get(), 0, cells * sizeof(Node*));
            std::memset(cell_closed_.get(), 0, cells);
            index_dirty_ = false;
        }
        return;
    }
    cell_node_.reset(static_cast<Node**>(std::calloc(cells, sizeof(Node*))));
    cell_closed_.reset(static_cast<uint8_t*>(std::calloc(cells, 1)));
    if (!cell_node_ || !cell_closed_) throw std::bad_alloc();
    index_cells_ = cells;
}

void AStarPlanner::begin_search() {
    Planner::begin_search();
    if (!cost_grid_) return;
    ensure_index();
    closed_count_ = 0;
    index_dirty_ = true;
    if (Node* start = push_start_node()) cell_node_[cell_index(start->x, start->y)] = start;
}

int32_t AStarPlanner::open_list_find(const Node* node) const {
    const int32_t n = open_list_.size();
    int32_t i = open_list_position(node->f);
    while (i < n && open_list_.at(i) != node) ++i;
    return i;
}

int32_t AStarPlanner::search() {
    ++search_counter_;
    const int32_t steps = config_.diagonal_moves ? 8 : 4;
    while (!open_list_.empty()) {
        Node* current = open_list_.back();
        open_list_.pop_back();
        const size_t current_cell = cell_index(current->x, current->y);
        if (is_goal(current)) {
            cell_closed_[current_cell] = 1;
            ++closed_count_;
            finished_ = 1;
            path_end_ = current;
            return 1;
        }
        for (int32_t s = 0, taken = 0; taken < steps; ++s) {
            const Step step = kSteps[s];
            if (step.diagonal && !config_.diagonal_moves) continue;
            ++taken;
            const int32_t x = current->x + step.dx;
            const int32_t y = current->y + step.dy;
            if (!inside(x, y)) continue;
            const size_t cell = cell_index(x, y);
            const float cost = cost_grid_[cell];
            if (cost < 0.0f) continue;
            const float g = step_cost(current->g, cost, step.diagonal);
            const float f = priority(g, x, y);
            Node* node = cell_node_[cell];
            if (node) {
                if (!(node->g > g)) continue;
                if (cell_closed_[cell]) {
                    cell_closed_[cell] = 0;
                    --closed_count_;
                } else {
                    open_list_.erase(open_list_find(node));
                }
            } else {
                node = pool_.take();
                if (!node) continue;
                node->x = x;
                node->y = y;
                node->bucket_link = nullptr;
                cell_node_[cell] = node;
            }
            node->parent = current;
            node->g = g;
            node->f = f;
            // A full open list drops the node, as the plain search does.
            if (!open_list_insert(node)) cell_node_[cell] = nullptr;
        }
        cell_closed_[current_cell] = 1;
        ++closed_count_;
    }
    finished_ = open_list_.empty() ? 1 : 0;
    return 0;
}

void AStarPlanner::release_search() {
    if (cell_node_) {
        for (int32_t i = 0; i < pool_.in_use(); ++i) {
            const Node* node = pool_.node_at(i);
            const size_t cell = cell_index(node->x, node->y);
            cell_node_[cell] = nullptr;
            cell_closed_[cell] = 0;
        }
        index_dirty_ = false;
    }
    pool_.give_back(closed_count_);
    closed_count_ = 0;
    Planner::release_search();
}

}  // namespace tvk
