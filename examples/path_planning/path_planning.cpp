// path_planning: the cheapest way across a grid of floor, mud and walls, to
// wherever the mouse sets the goal.
//
// Shows: a cost map in a two-dimensional IntArray (x first; 0 is a wall, and a
// higher value costs more to cross), find_path with its weight between cost (0) and
// straight-for-the-goal (1), and reading the cells of the path it returns. The
// left button sets the goal, the right button builds or clears a wall, and the keys
// 1, 2 and 3 choose the weight 0, 0.5 and 1.
#include <tavrick/tavrick.h>

#include <string>

namespace tvk {

constexpr int32_t kColumns = 26, kRows = 16, kCell = 24, kLeft = 8, kTop = 60;
constexpr int32_t kFloor = 1, kMud = 6;

// The map as drawn: '#' wall, '~' mud, anything else floor.
constexpr const char* kMap[kRows] = {
    "..........#...............",
    ".S........#.......~~~~....",
    "..........#.......~~~~....",
    "....###...#....#..~~~~....",
    "......#........#..~~~~....",
    "......#######..#..........",
    "...............#######.###",
    "~~~~~~.........#..........",
    "~~~~~~....#....#..........",
    "..........#.......####....",
    "..........#..........#....",
    "....#######..~~~~~...#....",
    "..........#..~~~~~...#....",
    "..........#..~~~~~...####.",
    "..........#...............",
    "..........#...............",
};

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = 640;
    s.screen_height = 480;
    s.frame_rate = 60;
    s.application_name = "PathPlanning";
}

void cell_rect(int32_t x, int32_t y, int32_t inset, int32_t colour) {
    draw_rect(kLeft + x * kCell + inset, kTop + y * kCell + inset, kCell - 1 - 2 * inset, kCell - 1 - 2 * inset,
              colour);
}

void program_main() {
    load_font("Media/small.png", 1);
    if (error_state().code != kErrSuccess) {
        print_err(string_concat("Media/small.png: ", error_text()));
        return;
    }
    IntArray map;
    array_dim(map, kColumns, kRows);
    int32_t start_x = 0, start_y = 0;
    for (int32_t y = 0; y < kRows; ++y) {
        for (int32_t x = 0; x < kColumns; ++x) {
            const char c = kMap[y][x];
            map(x, y) = c == '#' ? 0 : c == '~' ? kMud : kFloor;
            if (c == 'S') start_x = x, start_y = y;
        }
    }
    int32_t goal_x = kColumns - 2, goal_y = 1;
    double weight = 0;
    IntArray path;
    int32_t before_right = 0;
    for (;;) {
        int32_t mx = 0, my = 0, left = 0, right = 0;
        mouse_state(mx, my, left, right);
        const int32_t cx = (mx - kLeft) / kCell, cy = (my - kTop) / kCell;
        const bool on_grid = mx >= kLeft && my >= kTop && cx < kColumns && cy < kRows;
        if (on_grid && left && map(cx, cy) > 0) goal_x = cx, goal_y = cy;
        if (on_grid && right && !before_right && !(cx == start_x && cy == start_y)) {
            map(cx, cy) = map(cx, cy) > 0 ? 0 : kFloor;
        }
        before_right = right;
        if (key_down(2)) weight = 0;  // the keys 1, 2, 3
        if (key_down(3)) weight = 0.5;
        if (key_down(4)) weight = 1;

        // Planning afresh every frame is cheap on a grid this size.
        const int32_t cells = find_path(map, path, weight, start_x, start_y, goal_x, goal_y);

        for (int32_t y = 0; y < kRows; ++y) {
            for (int32_t x = 0; x < kColumns; ++x) {
                const int32_t cost = map(x, y);
                cell_rect(x, y, 0, cost == 0 ? 0x303030 : cost == kMud ? 0x2A4A6A : 0x6A5A48);
            }
        }
        int32_t cost = 0;
        for (int32_t i = 0; i < cells; ++i) {
            const int32_t x = path(i, 0), y = path(i, 1);
            if (i > 0) cost += map(x, y);
            cell_rect(x, y, 6, 0xE0F0FF);
        }
        cell_rect(start_x, start_y, 3, 0x50D050);
        cell_rect(goal_x, goal_y, 3, 0x30C0FF);

        set_alpha_mode(-1);
        print_text("Path planning: left button sets the goal, right button builds or clears a wall", 8, 8, 1);
        const std::string result = cells > 0 ? std::to_string(cells) + " cells, cost " + std::to_string(cost)
                                             : std::string("no way there");
        print_text(("weight " + std::to_string(weight).substr(0, 3) + " (keys 1, 2, 3):  " + result +
                    "   mud costs " + std::to_string(kMud) + ", floor 1").c_str(),
                   8, 30, 1);
        flip_screen();
    }
}

}  // namespace tvk
