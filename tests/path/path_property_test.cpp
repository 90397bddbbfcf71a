// The runtime's search against the plain one on many random maps, and against
// an independent cheapest-cost search when the weight is 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>
#include <random>
#include <vector>

#include "runtime/path/find_path.h"
#include "runtime/path/planner.h"
#include "tests/path/reference_planner.h"

namespace tvk {
namespace {

struct RandomMap {
    int32_t width;
    int32_t height;
    std::vector<double> cells;
};

RandomMap random_map(std::mt19937& rng, int32_t max_side) {
    RandomMap map;
    map.width = 1 + static_cast<int32_t>(rng() % max_side);
    map.height = 1 + static_cast<int32_t>(rng() % max_side);
    map.cells.resize(static_cast<size_t>(map.width) * map.height);
    const double wall_chance = std::uniform_real_distribution<double>(0.0, 0.45)(rng);
    // Few distinct values make many equal priorities, which is where order matters.
    const int kind = static_cast<int>(rng() % 3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (double& v : map.cells) {
        if (unit(rng) < wall_chance)
            v = rng() % 2 ? 0.0 : -1.0 - static_cast<double>(rng() % 5);
        else if (kind == 0)
            v = 1.0;
        else if (kind == 1)
            v = 1.0 + static_cast<double>(rng() % 4);
        else
            v = 0.001 + unit(rng) * 250.0;
    }
    return map;
}

// Dijkstra over the same cell costs, worked out in double precision from the map.
double cheapest_cost(const RandomMap& map, const PlannerConfig& config) {
    double largest = 0.0;
    for (double v : map.cells) largest = std::max(largest, v);
    const auto cost = [&](int32_t x, int32_t y) {
        const double v = map.cells[x + y * map.width];
        return v > 0.0 ? v / largest + 1.0 : -1.0;
    };
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> best(map.cells.size(), inf);
    using Entry = std::pair<double, int32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    const int32_t start = config.start_x + config.start_y * map.width;
    best[start] = 0.0;
    queue.push({0.0, start});
    while (!queue.empty()) {
        const auto [d, cell] = queue.top();
        queue.pop();
        if (d > best[cell]) continue;
        const int32_t x = cell % map.width;
        const int32_t y = cell / map.width;
        for (int32_t dy = -1; dy <= 1; ++dy) {
            for (int32_t dx = -1; dx <= 1; ++dx) {
                const bool diagonal = dx != 0 && dy != 0;
                if ((dx == 0 && dy == 0) || (diagonal && !config.diagonal_moves)) continue;
                const int32_t nx = x + dx;
                const int32_t ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= map.width || ny >= map.height) continue;
                const double c = cost(nx, ny);
                if (c < 0.0) continue;
                const double next = d + c * (diagonal && config.diagonal_cost ? std::sqrt(2.0) : 1.0);
                if (next < best[nx + ny * map.width]) {
                    best[nx + ny * map.width] = next;
                    queue.push({next, nx + ny * map.width});
                }
            }
        }
    }
    return best[config.goal_x + config.goal_y * map.width];
}

double path_cost(const RandomMap& map, const PlannerConfig& config, const std::vector<PathCell>& path) {
    double largest = 0.0;
    for (double v : map.cells) largest = std::max(largest, v);
    double total = 0.0;
    for (size_t i = 1; i < path.size(); ++i) {
        const bool diagonal = path[i].x != path[i - 1].x && path[i].y != path[i - 1].y;
        const double v = map.cells[path[i].x + path[i].y * map.width];
        total += (v / largest + 1.0) * (diagonal && config.diagonal_cost ? std::sqrt(2.0) : 1.0);
    }
    return total;
}

// Consecutive cells are neighbours, every cell after the start is passable,
// and the path runs from start to goal.
void expect_walkable(const RandomMap& map, const PlannerConfig& config, const std::vector<PathCell>& path) {
    if (path.empty()) return;
    EXPECT_EQ(path.front(), (PathCell{config.start_x, config.start_y}));
    EXPECT_EQ(path.back(), (PathCell{config.goal_x, config.goal_y}));
    for (size_t i = 1; i < path.size(); ++i) {
        const int32_t dx = std::abs(path[i].x - path[i - 1].x);
        const int32_t dy = std::abs(path[i].y - path[i - 1].y);
        EXPECT_TRUE(dx <= 1 && dy <= 1 && dx + dy >= 1) << "step " << i;
        if (!config.diagonal_moves) {
            EXPECT_EQ(dx + dy, 1) << "step " << i;
        }
        EXPECT_GT(map.cells[path[i].x + path[i].y * map.width], 0.0) << "step " << i;
    }
}

void check_map(std::mt19937& rng, const RandomMap& map, AStarPlanner& reused, int round) {
    static constexpr float kWeights[] = {0.0f, 0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    const float weight = rng() % 7 == 6 ? std::uniform_real_distribution<float>(0, 1)(rng)
                                        : kWeights[rng() % std::size(kWeights)];
    PlannerConfig config = path_command_config(map.cells.data(), map.width, map.height, weight,
                                               rng() % map.width, rng() % map.height,
                                               rng() % map.width, rng() % map.height);
    // Mostly the command's own configuration; sometimes the planner's other options.
    if (rng() % 4 == 0) {
        config.diagonal_moves = 1;
        config.diagonal_cost = static_cast<uint8_t>(rng() % 2);
        config.closed_set_exponent = static_cast<int32_t>(rng() % 12);
    }
    SCOPED_TRACE(testing::Message() << "round " << round << ", " << map.width << " by " << map.height
                                    << ", weight " << weight << ", (" << config.start_x << ", "
                                    << config.start_y << ") to (" << config.goal_x << ", "
                                    << config.goal_y << "), diagonal " << int(config.diagonal_moves));

    std::vector<PathCell> expected = {{-1, -1}};
    std::vector<PathCell> fast = expected;
    std::vector<PathCell> again = expected;
    ReferenceAStarPlanner reference;
    AStarPlanner planner;
    const bool searched = plan_path(reference, config, expected);
    ASSERT_EQ(plan_path(planner, config, fast), searched);
    ASSERT_EQ(plan_path(reused, config, again), searched);
    ASSERT_EQ(fast, expected);
    ASSERT_EQ(again, expected);
    if (!searched) return;
    expect_walkable(map, config, fast);

    if (config.heuristic_weight == 0.0f) {
        const double cheapest = cheapest_cost(map, config);
        if (std::isinf(cheapest)) {
            EXPECT_TRUE(fast.empty());
        } else {
            ASSERT_FALSE(fast.empty());
            EXPECT_NEAR(path_cost(map, config, fast), cheapest, 1e-4 * (1.0 + cheapest));
        }
    }
}

TEST(PathProperty, FastSearchFollowsThePlainSearchOnSmallMaps) {
    std::mt19937 rng(20240611);
    AStarPlanner reused;  // one planner through every search, as a long-lived caller might keep it
    for (int round = 0; round < 1500; ++round) {
        const RandomMap map = random_map(rng, 24);
        check_map(rng, map, reused, round);
        if (HasFatalFailure()) return;
    }
}

TEST(PathProperty, FastSearchFollowsThePlainSearchOnLargerMaps) {
    std::mt19937 rng(77);
    AStarPlanner reused;
    for (int round = 0; round < 12; ++round) {
        const RandomMap map = random_map(rng, 120);
        check_map(rng, map, reused, round);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace tvk
