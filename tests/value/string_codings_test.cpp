#include "runtime/value/string_codings.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/value/wide_text.h"
#include "string_test_text.h"

namespace tvk {
namespace {

TEST(HexCoding, EncodesHighNibbleFirstInEitherCase) {
    const unsigned char bytes[] = {0x00, 0x1F, 0xA0, 0xFF};
    EXPECT_EQ(bytes_of(string_hex_encode(bytes, 4, true)), "001FA0FF");
    EXPECT_EQ(bytes_of(string_hex_encode(bytes, 4, false)), "001fa0ff");
    EXPECT_EQ(string_hex_encode(bytes, 0, true).data, detail::shared_empty_text());
}

TEST(HexCoding, PairValueTakesOtherCharactersAtTheirCode) {
    EXPECT_EQ(hex_pair_value('4', '1'), 0x41);
    EXPECT_EQ(hex_pair_value('f', 'F'), 0xFF);
    EXPECT_EQ(hex_pair_value('A', '0'), 0xA0);
    EXPECT_EQ(hex_pair_value('0', 'z'), 'z');
    EXPECT_EQ(hex_pair_value('g', '0'), static_cast<uint8_t>('g' * 16));
}

TEST(UrlCoding, Encodes) {
    struct Case {
        const char* s;
        const char* expected;
    };
    const Case cases[] = {
        {"a b", "a%20b"},       {"\xE9", "%c3%a9"},   {"\x80\xBF\xC0", "%c2%80%c2%bf%c3%80"},
        {"Az09", "Az09"},       {"-_.~", "%2d%5f%2e%7e"}, {"\n", "%0a"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bytes_of(string_url_encode(RtString(c.s))), c.expected) << c.s;
    }
}

TEST(UrlCoding, Decodes) {
    struct Case {
        const char* s;
        const char* expected;
    };
    const Case cases[] = {
        {"a+b%41%zz", "a bAz"},
        {"%c3%a9", "\xE9"},
        {"%C3%A9", "\xE9"},
        {"%e2%82%ac", " "},  // a code point above 255
        {"%", ""},
        {"ab%4", "ab"},
        {"%%41", "41"},
        {"plain", "plain"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bytes_of(string_url_decode(RtString(c.s))), c.expected) << c.s;
    }
}

TEST(UrlCoding, RoundTripsEveryLatin1Byte) {
    RtString all;
    for (int c = 1; c < 256; ++c) string_append_char(all, static_cast<char>(c));
    EXPECT_EQ(bytes_of(string_url_decode(string_url_encode(all))), bytes_of(all));
}

TEST(Utf8Folding, FoldsToLatin1InPlace) {
    struct Case {
        std::string s;
        std::string expected;
    };
    const Case cases[] = {
        {"caf\xC3\xA9", "caf\xE9"},
        {"\xE2\x82\xAC!", " !"},            // three-byte sequence above 255
        {"\xE0\x83\xA9", "\xE9"},           // a three-byte form of a Latin-1 code point
        {"\xC5\x93", " "},                  // two-byte sequence above 255
        {"a\x80\xBF" "b", "ab"},            // stray continuation bytes
        {"\xF0\x9F\x98\x80x", "x"},         // four-byte lead dropped, then its tail
        {"ab\xC3", "ab"},                   // cut short at the end
        {"a\xE2\x82", "a"},
        {"", ""},
    };
    for (const Case& c : cases) {
        RtString s = make_bytes(c.s);
        string_utf8_to_latin1(s);
        EXPECT_EQ(bytes_of(s), c.expected) << c.s;
        EXPECT_EQ(s.data[s.length], 0);
    }
}

TEST(WideText, ConvertsLatin1BothWays) {
    const RtString s("caf\xE9");
    const wchar_t* wide = string_to_wide(s);
    EXPECT_EQ(std::wstring(wide), L"caf\u00e9");
    EXPECT_EQ(bytes_of(string_from_wide(wide)), "caf\xE9");
    EXPECT_EQ(bytes_of(string_from_wide(L"\u20ac1")), "?1") << "outside Latin-1";
    EXPECT_EQ(bytes_of(string_from_wide(L"")), "");
    EXPECT_EQ(std::wstring(string_to_wide(RtString())), L"");
    EXPECT_EQ(std::wstring(string_to_wide(make_bytes(std::string("a\0b", 3)))), L"a");
}

TEST(WideText, ReusesOneSharedBuffer) {
    const wchar_t* first = string_to_wide(RtString("first"));
    const wchar_t* second = string_to_wide(RtString("other"));
    EXPECT_EQ(first, second);
    EXPECT_EQ(std::wstring(first), L"other");
}

}  // namespace
}  // namespace tvk
