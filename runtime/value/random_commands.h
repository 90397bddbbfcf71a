#pragma once
// The program's random numbers, from the one process-wide generator.
#include <cstdint>

namespace tvk {

// Zeroes the state and initialises it with the seed as the first seed word:
// the same seed gives the same sequence.
void random_seed(int32_t seed);
// 0 to n inclusive; n <= 0 gives 0 without drawing.
int32_t random_int(int32_t n);

}  // namespace tvk
