#include "runtime/value/rt_string.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <new>

#include "string_test_text.h"

namespace tvk {
namespace {

TEST(RtString, KeepsItsFieldsInOrder) {
    static_assert(offsetof(RtString, data) < offsetof(RtString, capacity));
    static_assert(offsetof(RtString, capacity) < offsetof(RtString, length));
    static_assert(sizeof(RtString::capacity) == 4 && sizeof(RtString::length) == 4);
}

TEST(RtString, EmptyValuesShareOneStaticZeroByte) {
    RtString fresh;
    RtString from_empty_text("");
    RtString from_null(static_cast<const char*>(nullptr));
    RtString copy_of_empty(fresh);
    for (const RtString* s : {&fresh, &from_empty_text, &from_null, &copy_of_empty}) {
        EXPECT_EQ(s->data, detail::shared_empty_text());
        EXPECT_EQ(s->capacity, 0u);
        EXPECT_EQ(s->length, 0u);
    }
    EXPECT_EQ(*detail::shared_empty_text(), 0);

    RtString owned("abc");
    string_clear(owned);
    EXPECT_EQ(owned.data, detail::shared_empty_text());
    EXPECT_EQ(owned.capacity, 0u);
}

TEST(RtString, GrowsInSixteenByteStepsAboveTheTerminator) {
    struct Case {
        uint32_t n;
        uint32_t capacity;
    };
    const Case cases[] = {{1, 16}, {14, 16}, {15, 32}, {16, 32}, {30, 32}, {31, 48}, {63, 80}};
    for (const Case& c : cases) {
        RtString s;
        string_reserve(s, c.n, false);
        EXPECT_EQ(s.capacity, c.capacity) << "n = " << c.n;
        EXPECT_EQ(s.data[0], 0);
    }
}

TEST(RtString, ReserveKeepsTextOnlyWhenAsked) {
    RtString s("hello");
    char* const first_block = s.data;
    string_reserve(s, 15, true);  // 16 bytes already hold 15 + 1: nothing happens
    EXPECT_EQ(s.data, first_block);
    string_reserve(s, 0, false);
    EXPECT_EQ(s.data, first_block);

    string_reserve(s, 40, true);
    EXPECT_EQ(s.capacity, 48u);
    EXPECT_STREQ(s.data, "hello");
    EXPECT_EQ(s.length, 5u);

    string_reserve(s, 100, false);
    EXPECT_EQ(s.data[0], 0);  // reads as empty; the caller sets the length
}

TEST(RtString, AppendingToEmptyAllocatesSixteenBytesForFourteen) {
    RtString s("");
    string_append(s, "abcdefghijklmn");
    EXPECT_EQ(s.capacity, 16u);
    char* const block = s.data;
    string_truncate(s, 0);
    for (char c : std::string("abcdefghijklmn")) string_append_char(s, c);
    EXPECT_EQ(s.data, block) << "appends within capacity do not allocate";
    string_append_char(s, 'o');
    EXPECT_EQ(s.data, block) << "15 bytes and the terminator fill the block exactly";
    string_append_char(s, 'p');
    EXPECT_EQ(s.capacity, 32u);
    EXPECT_STREQ(s.data, "abcdefghijklmnop");
}

TEST(RtString, CopiesDuplicateAllBytes) {
    const RtString original = make_bytes(std::string("a\0b", 3));
    RtString copy(original);
    EXPECT_NE(copy.data, original.data);
    EXPECT_EQ(bytes_of(copy), std::string("a\0b", 3));
    EXPECT_EQ(copy.capacity, 16u);
}

TEST(RtString, AssignReusesTheTargetBlock) {
    RtString target("a longer text than the source");
    char* const block = target.data;
    const uint32_t capacity = target.capacity;
    string_assign(target, RtString("short"));
    EXPECT_EQ(target.data, block);
    EXPECT_EQ(bytes_of(target), "short");

    string_assign(target, RtString());
    EXPECT_EQ(target.data, block) << "an empty source keeps the block";
    EXPECT_EQ(target.capacity, capacity);
    EXPECT_EQ(target.length, 0u);
    EXPECT_EQ(target.data[0], 0);

    RtString empty;
    string_assign(empty, RtString());
    EXPECT_EQ(empty.data, detail::shared_empty_text());

    string_assign(target, target);
    EXPECT_EQ(target.length, 0u);
}

TEST(RtString, AssignTextUsesAnExactBlock) {
    RtString s("something");
    string_assign_text(s, "abcdefghijklmnopqrst");
    EXPECT_EQ(s.capacity, 21u);
    EXPECT_EQ(s.length, 20u);
    EXPECT_STREQ(s.data, "abcdefghijklmnopqrst");

    // A text taken from the target's own block.
    string_assign_text(s, s.data + 10);
    EXPECT_STREQ(s.data, "klmnopqrst");
    EXPECT_EQ(s.capacity, 11u);

    string_assign_text(s, "");
    EXPECT_EQ(s.data, detail::shared_empty_text());
    EXPECT_EQ(s.capacity, 0u);
}

TEST(RtString, AssignSwapTakesAFreshValue) {
    RtString s("old");
    string_assign_swap(s, "new text");
    EXPECT_EQ(bytes_of(s), "new text");
    EXPECT_EQ(s.capacity, 16u);
    string_assign_swap(s, s.data + 4);
    EXPECT_EQ(bytes_of(s), "text");
}

TEST(RtString, BufferThenSyncLength) {
    RtString s("ab");
    char* out = string_buffer(s, 20);
    EXPECT_STREQ(out, "ab") << "the buffer keeps the text";
    std::strcpy(out + 2, "cdef");
    string_sync_length(s);
    EXPECT_EQ(bytes_of(s), "abcdef");

    // No zero inside the block: the last byte becomes the terminator.
    std::memset(s.data, 'x', s.capacity);
    string_sync_length(s);
    EXPECT_EQ(s.length, s.capacity - 1);
    EXPECT_EQ(s.data[s.length], 0);

    // Even a zero-byte buffer is writable: the shared empty text is never handed out.
    RtString empty;
    char* room = string_buffer(empty, 0);
    EXPECT_NE(room, detail::shared_empty_text());
    room[0] = 0;
    string_sync_length(empty);
    EXPECT_EQ(empty.length, 0u);

    RtString none;
    string_sync_length(none);
    EXPECT_EQ(none.length, 0u);
}

TEST(RtString, TruncateOnlyShortens) {
    RtString s("hello");
    const uint32_t capacity = s.capacity;
    string_truncate(s, 5);
    string_truncate(s, -1);
    EXPECT_EQ(bytes_of(s), "hello");
    string_truncate(s, 2);
    EXPECT_EQ(bytes_of(s), "he");
    EXPECT_EQ(s.data[2], 0);
    EXPECT_EQ(s.capacity, capacity);
}

TEST(RtString, AppendHandlesTextsFromItsOwnBlock) {
    RtString s("abcdefghij");  // capacity 16: the next appends must move the block
    string_append(s, s);
    EXPECT_EQ(bytes_of(s), "abcdefghijabcdefghij");
    string_append(s, s.data + 15);
    EXPECT_EQ(bytes_of(s), "abcdefghijabcdefghijfghij");
    string_append(s, "");
    string_append(s, static_cast<const char*>(nullptr));
    EXPECT_EQ(s.length, 25u);
}

TEST(RtString, AppendKeepsEmbeddedZeroBytesOfStrings) {
    RtString s("x");
    string_append(s, make_bytes(std::string("\0y", 2)));
    EXPECT_EQ(bytes_of(s), std::string("x\0y", 3));
}

TEST(RtString, ConcatenatesStringsAndByteTexts) {
    const RtString left("left");
    const char* right = "right";
    EXPECT_EQ(bytes_of(string_concat(left, RtString("-"))), "left-");
    EXPECT_EQ(bytes_of(string_concat(left, right)), "leftright");
    EXPECT_EQ(bytes_of(string_concat("a", left)), "aleft");
    EXPECT_EQ(bytes_of(string_concat("a", "b")), "ab");
    EXPECT_EQ(bytes_of(string_concat(RtString(), "")), "");
}

TEST(RtString, SizesPastThirtyTwoBitsAreOutOfMemory) {
    EXPECT_THROW(detail::checked_text_length(uint64_t{1} << 32), std::bad_alloc);
    EXPECT_THROW(detail::checked_text_length(UINT32_MAX), std::bad_alloc);
    EXPECT_EQ(detail::checked_text_length(UINT32_MAX - 1), UINT32_MAX - 1);

    // The block for these would need 2^32 bytes or more: refused before allocating.
    RtString s("kept");
    EXPECT_THROW(string_reserve(s, UINT32_MAX - 1, true), std::bad_alloc);
    EXPECT_THROW(string_reserve(s, 0xFFFFFFF0u, true), std::bad_alloc);
    EXPECT_EQ(bytes_of(s), "kept") << "a failed reserve leaves the value intact";
}

}  // namespace
}  // namespace tvk
