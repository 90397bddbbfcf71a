#include "runtime/value/isaac_random.h"

namespace tvk {

namespace {
constexpr uint32_t kGoldenRatio = 0x9e3779b9;
constexpr int kSize = IsaacRandom::kSize;

void mix(uint32_t (&v)[8]) {
    uint32_t& a = v[0]; uint32_t& b = v[1]; uint32_t& c = v[2]; uint32_t& d = v[3];
    uint32_t& e = v[4]; uint32_t& f = v[5]; uint32_t& g = v[6]; uint32_t& h = v[7];
    a ^= b << 11; d += a; b += c;
    b ^= c >> 2;  e += b; c += d;
    c ^= d << 8;  f += c; d += e;
    d ^= e >> 16; g += d; e += f;
    e ^= f << 10; h += e; f += g;
    f ^= g >> 4;  a += f; g += h;
    g ^= h << 8;  b += g; h += a;
    h ^= a >> 9;  c += h; a += b;
}

// One pass over the state adding `source` word by word and mixing.
void seed_pass(IsaacRandom& g, uint32_t (&v)[8], const uint32_t* source) {
    for (int i = 0; i < kSize; i += 8) {
        for (int k = 0; k < 8; ++k) v[k] += source[i + k];
        mix(v);
        for (int k = 0; k < 8; ++k) g.memory[i + k] = v[k];
    }
}

IsaacRandom seeded(uint32_t seed) {
    IsaacRandom g{};
    g.results[0] = seed;
    isaac_init(g);
    return g;
}
}  // namespace

void isaac_refill(IsaacRandom& g) {
    uint32_t* m = g.memory;
    uint32_t a = g.a;
    uint32_t b = g.b + (++g.c);
    for (int i = 0; i < kSize; ++i) {
        const uint32_t x = m[i];
        switch (i & 3) {
            case 0: a ^= a << 13; break;
            case 1: a ^= a >> 6; break;
            case 2: a ^= a << 2; break;
            default: a ^= a >> 16; break;
        }
        a += m[(i + kSize / 2) & (kSize - 1)];
        const uint32_t y = m[(x >> 2) & (kSize - 1)] + a + b;
        m[i] = y;
        b = m[(y >> 10) & (kSize - 1)] + x;
        g.results[i] = b;
    }
    g.a = a;
    g.b = b;
    g.used = 0;
}

void isaac_init(IsaacRandom& g) {
    g.a = g.b = g.c = 0;
    uint32_t v[8];
    for (uint32_t& w : v) w = kGoldenRatio;
    for (int i = 0; i < 4; ++i) mix(v);
    seed_pass(g, v, g.results);
    // A second pass makes every seed word affect the whole state. Each block
    // of eight is read before it is rewritten, so the state can be its own source.
    seed_pass(g, v, g.memory);
    isaac_refill(g);
}

uint32_t isaac_next(IsaacRandom& g) {
    if (g.used >= static_cast<uint32_t>(kSize)) isaac_refill(g);
    return g.results[g.used++];
}

IsaacRandom& random_generator() {
    static IsaacRandom generator = seeded(0);
    return generator;
}

void random_seed(int32_t seed) { random_generator() = seeded(static_cast<uint32_t>(seed)); }

int32_t random_int(int32_t n) {
    if (n <= 0) return 0;
    const uint32_t range = static_cast<uint32_t>(n) + 1;
    return static_cast<int32_t>(isaac_next(random_generator()) % range);
}

}  // namespace tvk
