#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <limits>
#include <random>
#include <vector>

#include "runtime/path/fixed_deque.h"
#include "runtime/path/node_factory.h"
#include "runtime/path/node_hash_table.h"
#include "runtime/path/planner.h"

namespace tvk {
namespace {

TEST(FixedDeque, FollowsADequeThroughWrappingInsertsAndErases) {
    std::vector<Node> nodes(64);
    for (int32_t capacity : {1, 2, 7, 33}) {
        SCOPED_TRACE(testing::Message() << "capacity " << capacity);
        FixedDeque deque;
        deque.set_capacity(capacity);
        std::deque<Node*> model;
        std::mt19937 rng(static_cast<uint32_t>(capacity));
        for (int step = 0; step < 4000; ++step) {
            const int op = static_cast<int>(rng() % 4);
            const int n = static_cast<int>(model.size());
            Node* node = &nodes[rng() % nodes.size()];
            if (op == 0) {
                const bool pushed = deque.push_back(node);
                ASSERT_EQ(pushed, n < capacity);
                if (pushed) model.push_back(node);
            } else if (op == 1) {
                const int i = static_cast<int>(rng() % (n + 1));
                const bool inserted = deque.insert(i, node);
                ASSERT_EQ(inserted, n < capacity);
                if (inserted) model.insert(model.begin() + i, node);
            } else if (op == 2 && n > 0) {
                deque.pop_back();
                model.pop_back();
            } else if (op == 3 && n > 0) {
                const int i = static_cast<int>(rng() % n);
                deque.erase(i);
                model.erase(model.begin() + i);
            }
            ASSERT_EQ(deque.size(), static_cast<int32_t>(model.size())) << "step " << step;
            ASSERT_EQ(deque.empty(), model.empty());
            for (int i = 0; i < static_cast<int>(model.size()); ++i) ASSERT_EQ(deque.at(i), model[i]);
            if (!model.empty()) {
                ASSERT_EQ(deque.back(), model.back());
            }
        }
        EXPECT_FALSE(deque.insert(deque.size() + 1, &nodes[0]));
        deque.clear();
        EXPECT_EQ(deque.size(), 0);
        EXPECT_TRUE(deque.empty());
    }
}

TEST(NodeHashTable, SizeIsClampedToAnEvenExponentOfAtMost24) {
    const struct {
        int32_t asked;
        int32_t used;
    } cases[] = {{8, 8}, {9, 8}, {1, 0}, {0, 0}, {-3, 0}, {24, 24}, {25, 24}, {40, 24}};
    NodeHashTable table;
    for (const auto& c : cases) {
        table.set_size(c.asked);
        EXPECT_EQ(table.exponent(), c.used) << c.asked;
    }
}

TEST(NodeHashTable, BucketsTileTheGrid) {
    NodeHashTable table;
    table.set_size(8);  // 16 by 16 tiles
    EXPECT_EQ(table.bucket_of(0, 0), 0);
    EXPECT_EQ(table.bucket_of(15, 0), 15);
    EXPECT_EQ(table.bucket_of(0, 1), 16);
    EXPECT_EQ(table.bucket_of(17, 33), 1 | (1 << 4));
    EXPECT_EQ(table.bucket_of(16, 16), 0);
}

TEST(NodeHashTable, InsertFindRemoveAndClearIntoThePool) {
    NodeFactory pool;
    pool.resize(4);
    NodeHashTable table;
    table.set_size(2);  // 2 by 2 tiles: (0,0) and (2,2) share a bucket
    Node* a = pool.take();
    Node* b = pool.take();
    Node* c = pool.take();
    *a = Node{nullptr, 0, 0, 0, 0, nullptr};
    *b = Node{nullptr, 2, 2, 0, 0, nullptr};
    *c = Node{nullptr, 1, 0, 0, 0, nullptr};
    table.insert(a);
    table.insert(b);
    table.insert(a);  // already chained: not inserted twice
    table.insert(c);
    EXPECT_EQ(table.find(0, 0), a);
    EXPECT_EQ(table.find(2, 2), b);
    EXPECT_EQ(table.find(3, 3), nullptr);
    EXPECT_EQ(table.find(0, 0), a);
    table.remove_found();
    EXPECT_EQ(table.find(0, 0), nullptr);
    EXPECT_EQ(table.find(2, 2), b);
    EXPECT_EQ(pool.in_use(), 3);
    table.clear(pool);  // b and c go back
    EXPECT_EQ(pool.in_use(), 1);
    EXPECT_EQ(table.find(2, 2), nullptr);
}

TEST(NodeFactory, HandsOutUpToCapacityAndRecyclesByPosition) {
    NodeFactory pool;
    pool.resize(2);
    Node* first = pool.take();
    Node* second = pool.take();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(pool.take(), nullptr);
    pool.give_back();
    EXPECT_EQ(pool.take(), second);
    pool.give_back(5);
    EXPECT_EQ(pool.in_use(), 0);
    EXPECT_EQ(pool.take(), first);
    pool.resize(0);
    EXPECT_EQ(pool.take(), nullptr);
}

PlannerConfig grid_config(const std::vector<double>& cells, int32_t width, int32_t height) {
    PlannerConfig config;
    config.start_x = 0;
    config.start_y = 0;
    config.goal_x = width - 1;
    config.goal_y = height - 1;
    config.closed_set_exponent = 8;
    config.map_width = width;
    config.map_height = height;
    config.map_cells = cells.data();
    return config;
}

TEST(Planner, InitialisationRefusesImpossibleSearches) {
    const std::vector<double> ones(6, 1.0);
    const std::vector<double> walls = {0, -1, 0, -7, 0, 0};
    const struct {
        const char* what;
        int32_t sx, sy, gx, gy;
        const std::vector<double>* map;
    } cases[] = {
        {"start left of the map", -1, 0, 2, 1, &ones},  {"start below the map", 0, 2, 2, 1, &ones},
        {"goal right of the map", 0, 0, 3, 1, &ones},   {"goal above the map", 0, 0, 2, -1, &ones},
        {"start equals goal", 1, 1, 1, 1, &ones},       {"no positive cell", 0, 0, 2, 1, &walls},
    };
    for (const auto& c : cases) {
        PlannerConfig config = grid_config(*c.map, 3, 2);
        config.start_x = c.sx;
        config.start_y = c.sy;
        config.goal_x = c.gx;
        config.goal_y = c.gy;
        AStarPlanner planner;
        EXPECT_FALSE(planner.initialise(config)) << c.what;
    }
    AStarPlanner planner;
    EXPECT_TRUE(planner.initialise(grid_config(ones, 3, 2)));
}

TEST(Planner, CostsAreNormalisedToTheLargestValue) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> map = {0, -2, 5, 10, nan, 1e-60};
    AStarPlanner planner;
    PlannerConfig config = grid_config(map, 6, 1);
    config.heuristic_weight = 7.0f;
    ASSERT_TRUE(planner.initialise(config));
    EXPECT_EQ(planner.cell_cost(0, 0), -1.0f);
    EXPECT_EQ(planner.cell_cost(1, 0), -1.0f);
    EXPECT_EQ(planner.cell_cost(2, 0), 1.5f);
    EXPECT_EQ(planner.cell_cost(3, 0), 2.0f);
    EXPECT_EQ(planner.cell_cost(4, 0), -1.0f);  // not a number: a wall
    EXPECT_EQ(planner.cell_cost(5, 0), 1.0f);   // too small for a float, still passable
    EXPECT_EQ(planner.config().heuristic_weight, 1.0f);
}

TEST(Planner, ValuesBeyondTheFloatRangeKeepCostsFinite) {
    const std::vector<double> map = {1e300, 1.0, 1e39, 3e38};
    AStarPlanner planner;
    ASSERT_TRUE(planner.initialise(grid_config(map, 4, 1)));
    for (int32_t x = 0; x < 4; ++x) {
        EXPECT_TRUE(std::isfinite(planner.cell_cost(x, 0))) << x;
        EXPECT_GE(planner.cell_cost(x, 0), 1.0f) << x;
        EXPECT_LE(planner.cell_cost(x, 0), 2.0f) << x;
    }
    planner.begin_search();
    EXPECT_EQ(planner.search(), 1);
    EXPECT_TRUE(planner.finished());
}

TEST(Planner, ReleaseLetsThePlannerSearchAgain) {
    const std::vector<double> map(25, 1.0);
    AStarPlanner planner;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(planner.initialise(grid_config(map, 5, 5)));
        planner.begin_search();
        ASSERT_EQ(planner.search(), 1);
        int n = 0;
        for (const Node* node = planner.path_end(); node; node = node->parent) ++n;
        EXPECT_EQ(n, 9);
        EXPECT_EQ(planner.search_count(), 1);
        planner.release_search();
        EXPECT_EQ(planner.path_end(), nullptr);
        EXPECT_TRUE(planner.finished());
    }
}

}  // namespace
}  // namespace tvk
