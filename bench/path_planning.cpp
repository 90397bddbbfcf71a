// Times the path command on random maps with the runtime's search and with the
// plain search it must agree with (closed set walked through its 256 buckets,
// open list scanned from the back).
//
//   bench_path_planning [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <vector>

#include "runtime/path/find_path.h"
#include "runtime/path/planner.h"
#include "tests/path/reference_planner.h"

namespace {

bool connected(const tvk::NumberArray& map, int32_t side) {
    std::vector<uint8_t> seen(static_cast<size_t>(side) * side, 0);
    std::vector<int32_t> stack = {0};
    seen[0] = 1;
    while (!stack.empty()) {
        const int32_t cell = stack.back();
        stack.pop_back();
        const int32_t x = cell % side;
        const int32_t y = cell / side;
        const int32_t next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& n : next) {
            if (n[0] < 0 || n[1] < 0 || n[0] >= side || n[1] >= side) continue;
            const int32_t c = n[0] + n[1] * side;
            if (seen[c] || map.elements[c] <= 0.0) continue;
            seen[c] = 1;
            stack.push_back(c);
        }
    }
    return seen.back() != 0;
}

// A square map with costs 1..100 and one cell in five a wall, in which the
// goal (bottom right) can be reached from the start (top left).
const tvk::NumberArray& random_map(int32_t side) {
    static std::map<int32_t, tvk::NumberArray> maps;
    auto [it, made] = maps.try_emplace(side);
    if (made) {
        std::mt19937 rng(static_cast<uint32_t>(side));
        tvk::NumberArray& map = it->second;
        tvk::array_dim(map, side, side);
        do {
            for (double& v : map) v = rng() % 5 == 0 ? 0.0 : 1.0 + rng() % 100;
            map(0, 0) = 1.0;
            map(side - 1, side - 1) = 1.0;
        } while (!connected(map, side));
    }
    return it->second;
}

double weight_of(const benchmark::State& state) {
    return static_cast<double>(state.range(1)) / 100.0;
}

template <typename Search>
void run_search(benchmark::State& state) {
    const int32_t side = static_cast<int32_t>(state.range(0));
    const tvk::NumberArray& map = random_map(side);
    const tvk::PlannerConfig config =
        tvk::path_command_config(map.elements, side, side, weight_of(state), 0, 0, side - 1, side - 1);
    std::vector<tvk::PathCell> path;
    for (auto _ : state) {
        Search planner;
        tvk::plan_path(planner, config, path);
        benchmark::DoNotOptimize(path.data());
    }
    state.counters["cells_on_path"] = static_cast<double>(path.size());
}

void BM_ReferenceSearch(benchmark::State& state) { run_search<tvk::ReferenceAStarPlanner>(state); }
void BM_RuntimeSearch(benchmark::State& state) { run_search<tvk::AStarPlanner>(state); }

// The whole command as a program calls it, arrays included.
void BM_FindPathCommand(benchmark::State& state) {
    const int32_t side = static_cast<int32_t>(state.range(0));
    const tvk::NumberArray& map = random_map(side);
    tvk::IntArray path;
    int32_t n = 0;
    for (auto _ : state) {
        n = tvk::find_path(map, path, weight_of(state), 0, 0, side - 1, side - 1);
        benchmark::DoNotOptimize(n);
    }
    state.counters["cells_on_path"] = n;
}

// Arguments: map side, weight in hundredths (0: by cost alone, 50: A* order).
BENCHMARK(BM_ReferenceSearch)->Args({256, 0})->Args({256, 50})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReferenceSearch)
    ->Args({512, 0})
    ->Args({512, 50})
    ->Args({1024, 0})
    ->Args({1024, 50})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_RuntimeSearch)
    ->Args({256, 0})
    ->Args({256, 50})
    ->Args({512, 0})
    ->Args({512, 50})
    ->Args({1024, 0})
    ->Args({1024, 50})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPathCommand)->Args({256, 50})->Args({1024, 50})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
