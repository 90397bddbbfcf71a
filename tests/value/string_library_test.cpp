#include "runtime/value/string_library.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "string_test_text.h"

namespace tvk {
namespace {

TEST(StringMid, CutsAndClamps) {
    struct Case {
        const char* s;
        int32_t start;
        int32_t count;
        const char* expected;
    };
    const Case cases[] = {
        {"HELLO", 1, 3, "ELL"}, {"HELLO", 1, -1, "ELLO"}, {"HELLO", 5, 1, ""},
        {"HELLO", -1, 2, ""},   {"HELLO", 3, 10, "LO"},   {"HELLO", 0, 0, ""},
        {"HELLO", 0, -7, "HELLO"}, {"HELLO", 2147483647, 2147483647, ""},
        {"HELLO", 4, 2147483647, "O"}, {"", 0, -1, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bytes_of(string_mid(RtString(c.s), c.start, c.count)), c.expected)
            << c.s << " from " << c.start << " count " << c.count;
    }
    EXPECT_EQ(bytes_of(string_mid(make_bytes(std::string("a\0bc", 4)), 1, 2)), std::string("\0b", 2));
}

TEST(StringLibrary, CharToStringKeepsTheLowByte) {
    EXPECT_EQ(bytes_of(char_to_string('A')), "A");
    EXPECT_EQ(bytes_of(char_to_string(0x141)), "A");
    EXPECT_EQ(bytes_of(char_to_string(0)), std::string(1, '\0'));
    EXPECT_EQ(bytes_of(char_to_string(0xE9)), "\xE9");
}

TEST(StringLibrary, ByteAtIsUnsignedAndZeroOutside) {
    const RtString s("a\xE9");
    EXPECT_EQ(string_byte_at(s, 0), 'a');
    EXPECT_EQ(string_byte_at(s, 1), 0xE9);
    EXPECT_EQ(string_byte_at(s, 2), 0);
    EXPECT_EQ(string_byte_at(s, -1), 0);
}

TEST(StringCompare, IsCaseSensitiveAndBytewise) {
    EXPECT_LT(string_compare("B", "a"), 0);
    EXPECT_LT(string_compare("a", "b"), 0);
    EXPECT_LT(string_compare("z", "\xE9"), 0) << "bytes compare unsigned";
    EXPECT_EQ(string_compare(RtString("x"), "x"), 0);
    EXPECT_GT(string_compare("ab", RtString("a")), 0);

    const RtString b("B"), a("a");
    EXPECT_TRUE(b < a);
    EXPECT_TRUE(a > b);
    EXPECT_TRUE(a <= "a");
    EXPECT_TRUE("a" >= a);
    EXPECT_TRUE("b" != a);
    EXPECT_FALSE(a == "A");
}

TEST(StringCompare, EqualCountsEmbeddedZerosWhileOperatorsStopAtThem) {
    const RtString one("a");
    const RtString longer = make_bytes(std::string("a\0more", 6));
    EXPECT_FALSE(string_equal(one, longer));
    EXPECT_TRUE(one == longer);
    EXPECT_TRUE(string_equal(one, RtString("a")));
    EXPECT_TRUE(string_equal(RtString(), RtString("")));
}

TEST(StringLibrary, CaseConversionChangesOnlyAsciiLetters) {
    const RtString mixed("aZ09\xE9\xC9-q");
    EXPECT_EQ(bytes_of(string_upper(mixed)), "AZ09\xE9\xC9-Q");
    EXPECT_EQ(bytes_of(string_lower(mixed)), "az09\xE9\xC9-q");
    RtString in_place("MiXeD");
    string_upper_in_place(in_place);
    EXPECT_EQ(bytes_of(in_place), "MIXED");
    string_lower_in_place(in_place);
    EXPECT_EQ(bytes_of(in_place), "mixed");
}

TEST(StringLibrary, TrimsBytesOfTheSet) {
    struct Case {
        const char* s;
        const char* set;
        const char* right;
        const char* left;
    };
    const Case cases[] = {
        {"  ab c  ", " ", "  ab c", "ab c  "},
        {"xyabyx", "xy", "xyab", "abyx"},
        {"abc", "", "abc", "abc"},
        {"    ", " ", "", ""},
        {"", " ", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bytes_of(string_trim_right(RtString(c.s), RtString(c.set))), c.right) << c.s;
        EXPECT_EQ(bytes_of(string_trim_left(RtString(c.s), RtString(c.set))), c.left) << c.s;
    }
}

TEST(StringLibrary, StripControlTailRemovesLineEnds) {
    RtString line("text \t\r\n");
    string_append_char(line, '\x01');
    string_strip_control_tail(line);
    EXPECT_EQ(bytes_of(line), "text ");
    EXPECT_EQ(line.data[5], 0);

    RtString only_controls("\r\n");
    string_strip_control_tail(only_controls);
    EXPECT_EQ(only_controls.length, 0u);
    RtString empty;
    string_strip_control_tail(empty);
    EXPECT_EQ(empty.data, detail::shared_empty_text());
}

TEST(StringLibrary, SpansFindTheFirstByteInOrOutOfTheSet) {
    const char* text = "  key=value";
    EXPECT_EQ(span_not_in_set(text, " "), text + 2);
    EXPECT_EQ(span_in_set(text, "=:"), text + 5);
    EXPECT_EQ(span_in_set(text, "#"), nullptr);
    EXPECT_EQ(span_not_in_set("   ", " "), nullptr);
    EXPECT_EQ(span_in_set("", "a"), nullptr);
}

TEST(StringFind, SearchesFromStart) {
    struct Case {
        const char* haystack;
        const char* needle;
        int32_t start;
        int32_t expected;
    };
    const Case cases[] = {
        {"abcabc", "bc", 0, 1}, {"abcabc", "bc", 3, 4},  {"abcabc", "bc", 6, -1},
        {"abcabc", "", 0, -1},  {"abcabc", "abcabc", 0, 0}, {"abcabc", "abcabcd", 0, -1},
        {"abcabc", "c", 5, 5},  {"abcabc", "x", 0, -1},  {"", "a", 0, -1},
        {"abcabc", "a", -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(string_find(RtString(c.haystack), RtString(c.needle), c.start), c.expected)
            << c.needle << " in " << c.haystack << " from " << c.start;
    }
}

TEST(StringFind, LastOccurrenceAtOrBeforeStart) {
    struct Case {
        const char* haystack;
        const char* needle;
        int32_t start;
        int32_t expected;
    };
    const Case cases[] = {
        {"abcabc", "abc", -1, 3}, {"abcabc", "abc", 2, 0},  {"abcabc", "abc", 5, 3},
        {"abcabc", "abc", 100, 3}, {"abcabc", "x", -1, -1}, {"ab", "abc", -1, -1},
        {"aaaa", "aa", -1, 2},    {"aaaa", "aa", 1, 1},     {"abcabc", "", -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(string_find_last(RtString(c.haystack), RtString(c.needle), c.start), c.expected)
            << c.needle << " in " << c.haystack << " up to " << c.start;
    }
}

TEST(TextSearch, AgreesWithANaiveSearch) {
    // A small alphabet makes partial matches and repeated bytes common, which
    // is where skip tables go wrong.
    std::mt19937 random(12345);
    for (int round = 0; round < 5000; ++round) {
        std::string text(random() % 40, ' ');
        std::string pattern(1 + random() % 6, ' ');
        for (char& c : text) c = static_cast<char>("ab\xE9"[random() % 3]);
        for (char& c : pattern) c = static_cast<char>("ab\xE9"[random() % 3]);
        const size_t naive = text.find(pattern);
        const int64_t expected = naive == std::string::npos ? -1 : static_cast<int64_t>(naive);
        ASSERT_EQ(text_search(text.data(), static_cast<uint32_t>(text.size()), pattern.data(),
                              static_cast<uint32_t>(pattern.size())),
                  expected)
            << pattern << " in " << text;
    }
    EXPECT_EQ(text_search(nullptr, 3, "a", 1), -1);
    EXPECT_EQ(text_search("abc", 3, nullptr, 1), -1);
    EXPECT_EQ(text_search("a\0b", 3, "\0b", 2), 1) << "zero bytes are ordinary bytes";
}

TEST(StringReplace, ReplacesLeftToRightWithoutRescanning) {
    struct Case {
        const char* s;
        const char* find;
        const char* replacement;
        const char* expected;
    };
    const Case cases[] = {
        {"aaa", "a", "bb", "bbbbbb"},   {"abab", "ab", "ab", "abab"},
        {"xabcx", "abc", "", "xx"},     {"abb", "ab", "xa", "xab"},
        {"abc", "", "x", "abc"},        {"a.b.c", ".", "-", "a-b-c"},
        {"hello", "ll", "LL", "heLLo"}, {"aaaa", "aa", "a", "aa"},
        {"abc", "abc", "", ""},         {"", "a", "b", ""},
        {"no match", "xyz", "q", "no match"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bytes_of(string_replace(RtString(c.s), RtString(c.find), RtString(c.replacement))),
                  c.expected)
            << c.find << " -> " << c.replacement << " in " << c.s;
    }
}

}  // namespace
}  // namespace tvk
