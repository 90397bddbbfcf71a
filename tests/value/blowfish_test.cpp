#include "runtime/value/blowfish.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace tvk {
namespace {

// Published ECB vectors, each value a 64-bit block written big-endian (the
// left half is the high word).
struct Vector {
    uint64_t key;
    uint64_t plain;
    uint64_t cipher;
};

constexpr Vector kVectors[] = {
    {0x0000000000000000, 0x0000000000000000, 0x4EF997456198DD78},
    {0xFFFFFFFFFFFFFFFF, 0xFFFFFFFFFFFFFFFF, 0x51866FD5B85ECB8A},
    {0x3000000000000000, 0x1000000000000001, 0x7D856F9A613063F2},
    {0x1111111111111111, 0x1111111111111111, 0x2466DD878B963C9D},
    {0x0123456789ABCDEF, 0x1111111111111111, 0x61F9C3802281B096},
    {0xFEDCBA9876543210, 0x0123456789ABCDEF, 0x0ACEAB0FC6A0A28D},
};

std::vector<uint8_t> key_bytes(uint64_t key) {
    std::vector<uint8_t> bytes;
    for (int shift = 56; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(key >> shift));
    return bytes;
}

TEST(Blowfish, MatchesPublishedVectorsBothWays) {
    auto schedule = std::make_unique<BlowfishKey>();
    for (const Vector& v : kVectors) {
        SCOPED_TRACE(testing::Message() << std::hex << "key " << v.key << " plain " << v.plain);
        const std::vector<uint8_t> key = key_bytes(v.key);
        blowfish_init(*schedule, key.data(), key.size());

        uint32_t left = static_cast<uint32_t>(v.plain >> 32);
        uint32_t right = static_cast<uint32_t>(v.plain);
        blowfish_encrypt_block(*schedule, left, right);
        EXPECT_EQ((uint64_t{left} << 32) | right, v.cipher);

        blowfish_decrypt_block(*schedule, left, right);
        EXPECT_EQ((uint64_t{left} << 32) | right, v.plain);
    }
}

TEST(Blowfish, ShortKeysCycleThroughTheirBytes) {
    // A key repeated to fill the 72 bytes the P-array takes gives the same
    // schedule as the key itself.
    const uint8_t short_key[] = {'k', 'e', 'y'};
    std::vector<uint8_t> long_key;
    for (int i = 0; i < 72; ++i) long_key.push_back(short_key[i % 3]);
    auto a = std::make_unique<BlowfishKey>();
    auto b = std::make_unique<BlowfishKey>();
    blowfish_init(*a, short_key, 3);
    blowfish_init(*b, long_key.data(), long_key.size());
    uint32_t la = 1, ra = 2, lb = 1, rb = 2;
    blowfish_encrypt_block(*a, la, ra);
    blowfish_encrypt_block(*b, lb, rb);
    EXPECT_EQ(la, lb);
    EXPECT_EQ(ra, rb);
}

TEST(Blowfish, EmptyKeyIsTheScheduleOfAZeroKey) {
    // Mixing in no bytes is mixing in zeros: the all-zero key's vector.
    auto empty = std::make_unique<BlowfishKey>();
    blowfish_init(*empty, nullptr, 0);
    uint32_t l = 0, r = 0;
    blowfish_encrypt_block(*empty, l, r);
    EXPECT_EQ((uint64_t{l} << 32) | r, 0x4EF997456198DD78u);
}

}  // namespace
}  // namespace tvk
