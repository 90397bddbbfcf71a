#pragma once
// The random generator of programs: the ISAAC generator (256 words of state,
// 256 results per refill) and the one process-wide instance that the program's
// commands (random_commands.h) seed and draw from.
#include <cstdint>

#include "runtime/value/random_commands.h"

namespace tvk {

struct IsaacRandom {
    static constexpr int kSize = 256;
    uint32_t results[kSize];  // the current batch of outputs
    uint32_t memory[kSize];   // the internal state
    uint32_t a;
    uint32_t b;
    uint32_t c;
    uint32_t used;  // results of the current batch already drawn
};

// Produces the next 256 results.
void isaac_refill(IsaacRandom& g);
// Mixes the words in `results` into a fresh state (golden-ratio start 0x9e3779b9)
// and produces the first batch of results.
void isaac_init(IsaacRandom& g);
// The results of each batch in order, refilling when a batch is used up.
uint32_t isaac_next(IsaacRandom& g);

// The process-wide generator; seeded with 0 until random_seed is called.
IsaacRandom& random_generator();

}  // namespace tvk
