#include "runtime/path/find_path.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tvk {
namespace {

NumberArray number_map(int32_t width, int32_t height, const std::vector<double>& rows) {
    NumberArray map;
    array_dim(map, width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) map(x, y) = rows[x + y * width];
    return map;
}

IntArray int_map(const NumberArray& map) {
    IntArray out;
    array_dim(out, map.dim1, map.dim2);
    for (int32_t y = 0; y < map.dim2; ++y)
        for (int32_t x = 0; x < map.dim1; ++x) out(x, y) = static_cast<int32_t>(map(x, y));
    return out;
}

std::vector<PathCell> cells_of(const IntArray& path) {
    std::vector<PathCell> cells;
    for (int32_t i = 0; i < path.dim1; ++i) cells.push_back({path(i, 0), path(i, 1)});
    return cells;
}

std::vector<PathCell> cells_of(const NumberArray& path) {
    std::vector<PathCell> cells;
    for (int32_t i = 0; i < path.dim1; ++i)
        cells.push_back({static_cast<int32_t>(path(i, 0)), static_cast<int32_t>(path(i, 1))});
    return cells;
}

// What one form of the command returned, the path it wrote and the shape of the path array.
struct Outcome {
    int32_t result;
    std::vector<PathCell> cells;
    int32_t dim1;
    int32_t dim2;
};

enum class Form { kNumbersToInts, kNumbersToNumbers, kIntsToInts };
constexpr Form kForms[] = {Form::kNumbersToInts, Form::kNumbersToNumbers, Form::kIntsToInts};
const char* form_name(Form form) {
    return form == Form::kNumbersToInts ? "double map, int path"
           : form == Form::kNumbersToNumbers ? "double map, double path"
                                             : "int map, int path";
}

// Runs one form with a path array that already holds a 1 by 2 path (7, 7), so
// that a form which leaves it alone can be told from one that empties it.
Outcome run(Form form, const NumberArray& map, double weight, int32_t sx, int32_t sy, int32_t gx,
            int32_t gy) {
    if (form == Form::kNumbersToNumbers) {
        NumberArray path;
        array_dim(path, 1, 2);
        path(0, 0) = 7;
        path(0, 1) = 7;
        const int32_t n = find_path(map, path, weight, sx, sy, gx, gy);
        return {n, cells_of(path), path.dim1, path.dim2};
    }
    IntArray path;
    array_dim(path, 1, 2);
    path(0, 0) = 7;
    path(0, 1) = 7;
    const int32_t n = form == Form::kIntsToInts ? find_path(int_map(map), path, weight, sx, sy, gx, gy)
                                                : find_path(map, path, weight, sx, sy, gx, gy);
    return {n, cells_of(path), path.dim1, path.dim2};
}

TEST(FindPath, ThreeCellsInARow) {
    const NumberArray map = number_map(3, 1, {1, 1, 1});
    for (Form form : kForms) {
        const Outcome out = run(form, map, 0.5, 0, 0, 2, 0);
        EXPECT_EQ(out.result, 3) << form_name(form);
        EXPECT_EQ(out.cells, (std::vector<PathCell>{{0, 0}, {1, 0}, {2, 0}})) << form_name(form);
        EXPECT_EQ(out.dim1, 3);
        EXPECT_EQ(out.dim2, 2);
    }
}

TEST(FindPath, AWallAcrossTheMapEmptiesThePath) {
    // Column 2 is a wall of zeros and negative values.
    const NumberArray map = number_map(5, 3, {1, 1, 0, 1, 1,  //
                                              1, 1, -4, 1, 1,  //
                                              1, 1, 0, 1, 1});
    for (Form form : kForms) {
        const Outcome out = run(form, map, 0.5, 0, 1, 4, 1);
        EXPECT_EQ(out.result, 0) << form_name(form);
        EXPECT_TRUE(out.cells.empty()) << form_name(form);
        EXPECT_EQ(out.dim1, 0) << form_name(form);
    }
}

TEST(FindPath, ImpossibleSearchesLeaveThePathArrayAlone) {
    const NumberArray map = number_map(3, 2, {1, 2, 3, 4, 5, 6});
    const NumberArray walls = number_map(3, 2, {0, -1, 0, 0, -3, 0});
    const struct {
        const char* what;
        const NumberArray* map;
        int32_t sx, sy, gx, gy;
    } cases[] = {
        {"start equals goal", &map, 1, 1, 1, 1},  {"start outside", &map, 3, 0, 0, 0},
        {"goal outside", &map, 0, 0, 0, -1},      {"no positive cell", &walls, 0, 0, 2, 1},
    };
    for (const auto& c : cases) {
        for (Form form : kForms) {
            const Outcome out = run(form, *c.map, 0.5, c.sx, c.sy, c.gx, c.gy);
            EXPECT_EQ(out.result, 0) << c.what << ", " << form_name(form);
            EXPECT_EQ(out.cells, (std::vector<PathCell>{{7, 7}})) << c.what << ", " << form_name(form);
        }
    }
}

TEST(FindPath, NegativeValuesAreWallsLikeZero) {
    // A wall with one gap at the bottom; the path has to go round.
    std::vector<double> zeros = {1, 1, 0, 1, 1,  //
                                 1, 1, 0, 1, 1,  //
                                 1, 1, 1, 1, 1};
    std::vector<double> negatives = zeros;
    negatives[2] = -1;
    negatives[7] = -1e9;
    const Outcome with_zeros = run(Form::kNumbersToInts, number_map(5, 3, zeros), 0.0, 0, 0, 4, 0);
    const Outcome with_negatives = run(Form::kNumbersToInts, number_map(5, 3, negatives), 0.0, 0, 0, 4, 0);
    EXPECT_EQ(with_zeros.result, 9);
    EXPECT_EQ(with_zeros.cells, with_negatives.cells);
    ASSERT_EQ(with_negatives.cells.size(), 9u);
    EXPECT_EQ(with_negatives.cells[4], (PathCell{2, 2}));  // through the gap
}

TEST(FindPath, EqualCostsAreTakenInTheOrderTheyWereQueued) {
    // On an even map every route is as cheap as another; the neighbour order and
    // the first-queued-first-taken rule pick this one.
    const NumberArray map = number_map(3, 3, std::vector<double>(9, 1.0));
    const Outcome out = run(Form::kNumbersToInts, map, 0.0, 0, 0, 2, 2);
    EXPECT_EQ(out.cells, (std::vector<PathCell>{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}}));
}

TEST(FindPath, WeightIsClampedToZeroToOne) {
    // The straight row is dear, the row below cheap: by cost alone (weight 0)
    // the path detours, by the estimate alone (weight 1) it goes straight.
    const NumberArray map = number_map(5, 2, {100, 100, 100, 100, 100,  //
                                              1, 1, 1, 1, 1});
    const std::vector<PathCell> detour = {{0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 0}};
    const std::vector<PathCell> straight = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}};
    const struct {
        double weight;
        const std::vector<PathCell>* path;
    } cases[] = {{0.0, &detour}, {-3.0, &detour}, {1.0, &straight}, {5.0, &straight}};
    for (const auto& c : cases) {
        const Outcome out = run(Form::kNumbersToInts, map, c.weight, 0, 0, 4, 0);
        EXPECT_EQ(out.cells, *c.path) << "weight " << c.weight;
    }
}

TEST(FindPath, FormsAgreeOnRandomMapsAndNeverStepDiagonally) {
    std::mt19937 rng(11);
    for (int round = 0; round < 20; ++round) {
        const int32_t width = 2 + static_cast<int32_t>(rng() % 20);
        const int32_t height = 2 + static_cast<int32_t>(rng() % 20);
        std::vector<double> rows(width * height);
        for (double& v : rows) v = rng() % 4 == 0 ? 0.0 : 1.0 + rng() % 9;
        const NumberArray map = number_map(width, height, rows);
        const double weight = (rng() % 5) / 4.0;
        const int32_t sx = rng() % width, sy = rng() % height, gx = rng() % width, gy = rng() % height;
        const Outcome first = run(Form::kNumbersToInts, map, weight, sx, sy, gx, gy);
        for (Form form : {Form::kNumbersToNumbers, Form::kIntsToInts}) {
            const Outcome out = run(form, map, weight, sx, sy, gx, gy);
            EXPECT_EQ(out.result, first.result) << form_name(form);
            EXPECT_EQ(out.cells, first.cells) << form_name(form);
        }
        for (size_t i = 1; i < first.cells.size(); ++i) {
            const int32_t dx = std::abs(first.cells[i].x - first.cells[i - 1].x);
            const int32_t dy = std::abs(first.cells[i].y - first.cells[i - 1].y);
            EXPECT_EQ(dx + dy, 1) << "round " << round << " step " << i;
        }
    }
}

}  // namespace
}  // namespace tvk
