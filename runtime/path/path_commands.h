#pragma once
// The program's path command: the cells of a cheapest path over a cost map held in
// an array.
//
// The map's first dimension is x and its second y; a value <= 0 is a wall, any
// positive value a passable cell whose cost grows with the value. Steps go to
// the four orthogonal neighbours only. `weight` (clamped to 0..1) blends cost
// and estimate: 0 orders the search by cost alone and finds a cheapest path,
// 0.5 is the A* order, 1 heads straight for the goal.
//
// The result is the number n of cells on the path, start and goal included,
// and the path array becomes n by 2: (i, 0) is the x and (i, 1) the y of the
// i-th cell, from the start (i = 0) to the goal (i = n - 1). When no path
// exists the result is 0 and the path array is emptied. When the start or goal
// is outside the map, they are the same cell, or the map has no positive cell,
// the result is 0 and the path array is left as it was.
#include <cstdint>

#include "runtime/value/rt_array.h"

namespace tvk {

int32_t find_path(const NumberArray& map, IntArray& path, double weight, int32_t start_x,
                  int32_t start_y, int32_t goal_x, int32_t goal_y);
int32_t find_path(const NumberArray& map, NumberArray& path, double weight, int32_t start_x,
                  int32_t start_y, int32_t goal_x, int32_t goal_y);
int32_t find_path(const IntArray& map, IntArray& path, double weight, int32_t start_x,
                  int32_t start_y, int32_t goal_x, int32_t goal_y);

}  // namespace tvk
