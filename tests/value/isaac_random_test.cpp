#include "runtime/value/isaac_random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

namespace tvk {
namespace {

// The published reference results of the generator: state and seed all zero,
// initialised with the seed, then two further batches printed in index order.
// Rows of eight words as the reference prints them; the row number is its
// position among the 64 rows of the two batches.
struct ReferenceRow {
    int row;
    uint32_t words[8];
};
const ReferenceRow kReference[] = {
    {0, {0xf650e4c8, 0xe448e96d, 0x98db2fb4, 0xf5fad54f,
         0x433f1afb, 0xedec154a, 0xd8370487, 0x46ca4f9a}},
    {1, {0x5de3743e, 0x88381097, 0xf1d444eb, 0x823cedb6,
         0x6a83e1e0, 0x4a5f6355, 0xc7442433, 0x25890e2e}},
    {31, {0xb8f6fd4a, 0x6a158d10, 0x01913fd3, 0xaf7d1fb8,
          0x0b5e435f, 0x90c10757, 0x6554abda, 0x7a68710f}},
    {32, {0x82ac484f, 0xd7e1c7be, 0x95c85eaa, 0x94a302f4,
          0x4d3cfbda, 0x786b2908, 0x1010b275, 0x82d53d12}},
    {63, {0x9d8d1908, 0x86ba527f, 0xf943f672, 0xef73fbf0,
          0x46d95ca5, 0xc54cd95b, 0x9d855e89, 0x4bb5af29}},
};

TEST(IsaacRandom, MatchesThePublishedReferenceResults) {
    IsaacRandom g{};
    isaac_init(g);
    uint32_t printed[512];
    for (int batch = 0; batch < 2; ++batch) {
        isaac_refill(g);
        for (int i = 0; i < 256; ++i) printed[batch * 256 + i] = g.results[i];
    }
    for (const ReferenceRow& r : kReference) {
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(printed[r.row * 8 + k], r.words[k]) << "row " << r.row << " word " << k;
        }
    }
}

TEST(IsaacRandom, DrawsEachBatchInOrderThenRefills) {
    IsaacRandom g{};
    isaac_init(g);
    IsaacRandom copy = g;
    for (int i = 0; i < 256; ++i) ASSERT_EQ(isaac_next(g), copy.results[i]);
    isaac_refill(copy);
    EXPECT_EQ(isaac_next(g), copy.results[0]);
    EXPECT_EQ(isaac_next(g), copy.results[1]);
}

TEST(RandomInt, SameSeedRepeatsAndRangeIsInclusive) {
    random_seed(12345);
    int32_t first[64];
    for (int32_t& v : first) v = random_int(1000000);
    random_seed(12345);
    for (int32_t v : first) EXPECT_EQ(random_int(1000000), v);
    random_seed(12346);
    int same = 0;
    for (int32_t v : first) same += random_int(1000000) == v;
    EXPECT_LT(same, 4);

    std::set<int32_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const int32_t v = random_int(3);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 3);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 4u);
    for (int i = 0; i < 100; ++i) {
        const int32_t v = random_int(1);
        ASSERT_TRUE(v == 0 || v == 1);
    }
    for (int i = 0; i < 100; ++i) ASSERT_GE(random_int(INT32_MAX), 0);
}

TEST(RandomInt, NonPositiveBoundGivesZeroWithoutDrawing) {
    random_seed(7);
    const int32_t expected = random_int(1000);
    random_seed(7);
    EXPECT_EQ(random_int(0), 0);
    EXPECT_EQ(random_int(-5), 0);
    EXPECT_EQ(random_int(INT32_MIN), 0);
    EXPECT_EQ(random_int(1000), expected);
}

}  // namespace
}  // namespace tvk
