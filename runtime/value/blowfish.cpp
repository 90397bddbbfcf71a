#include "runtime/value/blowfish.h"

#include <cstring>
#include <utility>

namespace tvk {

namespace {
uint32_t round_function(const BlowfishKey& key, uint32_t x) {
    const uint32_t a = key.s[0][x >> 24];
    const uint32_t b = key.s[1][(x >> 16) & 0xFF];
    const uint32_t c = key.s[2][(x >> 8) & 0xFF];
    const uint32_t d = key.s[3][x & 0xFF];
    return ((a + b) ^ c) + d;
}
}  // namespace

void blowfish_encrypt_block(const BlowfishKey& key, uint32_t& left, uint32_t& right) {
    uint32_t l = left;
    uint32_t r = right;
    for (int i = 0; i < kBlowfishRounds; ++i) {
        l ^= key.p[i];
        r ^= round_function(key, l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= key.p[kBlowfishRounds];
    l ^= key.p[kBlowfishRounds + 1];
    left = l;
    right = r;
}

void blowfish_decrypt_block(const BlowfishKey& key, uint32_t& left, uint32_t& right) {
    uint32_t l = left;
    uint32_t r = right;
    for (int i = kBlowfishRounds + 1; i > 1; --i) {
        l ^= key.p[i];
        r ^= round_function(key, l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= key.p[1];
    l ^= key.p[0];
    left = l;
    right = r;
}

void blowfish_init(BlowfishKey& key, const uint8_t* bytes, size_t count) {
    std::memcpy(key.p, kBlowfishInitialP, sizeof key.p);
    std::memcpy(key.s, kBlowfishInitialS, sizeof key.s);
    if (count != 0) {
        size_t next = 0;
        for (uint32_t& word : key.p) {
            uint32_t mixed = 0;
            for (int k = 0; k < 4; ++k) {
                mixed = (mixed << 8) | bytes[next];
                next = (next + 1) % count;
            }
            word ^= mixed;
        }
    }
    uint32_t l = 0;
    uint32_t r = 0;
    for (int i = 0; i < kBlowfishRounds + 2; i += 2) {
        blowfish_encrypt_block(key, l, r);
        key.p[i] = l;
        key.p[i + 1] = r;
    }
    for (auto& box : key.s) {
        for (int i = 0; i < 256; i += 2) {
            blowfish_encrypt_block(key, l, r);
            box[i] = l;
            box[i + 1] = r;
        }
    }
}

}  // namespace tvk
