#pragma once
// The Blowfish block cipher (64-bit blocks, 16 rounds, keys of 1 to 56 bytes
// by convention; longer keys simply cycle further through the P-array).
#include <cstddef>
#include <cstdint>

namespace tvk {

inline constexpr int kBlowfishRounds = 16;

// The initial subkeys, before any key is mixed in.
extern const uint32_t kBlowfishInitialP[kBlowfishRounds + 2];
extern const uint32_t kBlowfishInitialS[4][256];

struct BlowfishKey {
    uint32_t p[kBlowfishRounds + 2];
    uint32_t s[4][256];
};

// Mixes the key bytes (big-endian, four at a time, cycling) into the P-array
// and fills P and S by repeatedly enciphering a zero block. An empty key
// leaves the P-array as it is before the re-encipherment.
void blowfish_init(BlowfishKey& key, const uint8_t* bytes, size_t count);

// One 64-bit block given as its two 32-bit halves.
void blowfish_encrypt_block(const BlowfishKey& key, uint32_t& left, uint32_t& right);
void blowfish_decrypt_block(const BlowfishKey& key, uint32_t& left, uint32_t& right);

}  // namespace tvk
