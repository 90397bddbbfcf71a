#include "runtime/value/text_cipher.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

#include "runtime/value/string_library.h"
#include "string_test_text.h"

namespace tvk {
namespace {

TEST(TextCipher, RoundTripsWithTheExpectedLengths) {
    struct Case {
        std::string text;
        uint32_t hex_digits;
    };
    const Case cases[] = {
        {"a", 16},        {"abc", 16},       {"abcdefg", 16},
        {"abcdefgh", 16}, {"abcdefghi", 32}, {std::string(100, 'x'), 208},
        {"caf\xE9 \xFF\x01", 16},
    };
    for (const RtString& key : {RtString("key"), RtString("a much longer key of many bytes"),
                               RtString("\xFF")}) {
        for (const Case& c : cases) {
            const RtString cipher = string_encrypt(key, RtString(c.text.c_str()));
            EXPECT_EQ(cipher.length, c.hex_digits) << c.text;
            EXPECT_EQ(cipher.data[cipher.length], 0);
            for (uint32_t i = 0; i < cipher.length; ++i) {
                EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(cipher.data[i])) &&
                            !std::isupper(static_cast<unsigned char>(cipher.data[i])));
            }
            EXPECT_EQ(bytes_of(string_decrypt(key, cipher)), c.text);
        }
    }
}

TEST(TextCipher, EmptyTextGivesEmptyCipher) {
    EXPECT_EQ(string_encrypt(RtString("key"), RtString()).length, 0u);
    EXPECT_EQ(string_decrypt(RtString("key"), RtString()).length, 0u);
}

TEST(TextCipher, BlocksAreLittleEndianHalves) {
    // The all-zero key and block: the standard cipher gives the halves
    // 4EF99745 and 6198DD78, each written low byte first.
    const RtString zeros = make_bytes(std::string(8, '\0'));
    EXPECT_EQ(bytes_of(string_encrypt(zeros, zeros)), "4597f94e78dd9861");
}

TEST(TextCipher, DecryptReadsEitherCaseAndIgnoresAnOddLastDigit) {
    const RtString key("secret");
    const RtString cipher = string_encrypt(key, RtString("Hello, world"));
    std::string upper = bytes_of(cipher);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(bytes_of(string_decrypt(key, RtString(upper.c_str()))), "Hello, world");
    EXPECT_EQ(bytes_of(string_decrypt(key, string_concat(cipher, "7"))), "Hello, world");
}

TEST(TextCipher, PlainTextEndsAtItsFirstZeroByte) {
    const RtString key("k");
    const RtString cipher = string_encrypt(key, make_bytes(std::string("ab\0cd", 5)));
    EXPECT_EQ(cipher.length, 16u);
    EXPECT_EQ(bytes_of(string_decrypt(key, cipher)), "ab");
}

TEST(TextCipher, DifferentKeysGiveDifferentCiphers) {
    const RtString text("same text");
    EXPECT_FALSE(string_equal(string_encrypt(RtString("one"), text),
                              string_encrypt(RtString("two"), text)));
    EXPECT_NE(bytes_of(string_decrypt(RtString("two"), string_encrypt(RtString("one"), text))),
              "same text");
}

TEST(TextCipher, EmptyKeyStillRoundTrips) {
    const RtString cipher = string_encrypt(RtString(), RtString("text"));
    EXPECT_EQ(cipher.length, 16u);
    EXPECT_EQ(bytes_of(string_decrypt(RtString(), cipher)), "text");
}

TEST(TextCipher, DecryptStaysInsideItsBuffersForAnyText) {
    // Odd lengths, lengths that are not whole blocks, characters that are no
    // hex digits at all and zero bytes: every result is bounded by the padded
    // decoded length. Run under the sanitizers this also checks every access.
    std::mt19937 random(2024);
    const RtString key("hostile");
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 70, ' ');
        for (char& c : text) c = static_cast<char>(random() % 256);
        const RtString hostile = make_bytes(text);
        const RtString plain = string_decrypt(key, hostile);
        const uint32_t n = hostile.length / 2;
        ASSERT_LE(plain.length, (n + 7) / 8 * 8) << "input length " << hostile.length;
        ASSERT_EQ(plain.data[plain.length], 0);
        if (plain.capacity > 0) {
            ASSERT_LT(plain.length, plain.capacity);
        }
    }
    for (const char* text : {"0", "zz", "0123456789abcdef0", "ghijklmnopqrstuvwxyz", "!@#$%^&*()"}) {
        const RtString hostile(text);
        const RtString plain = string_decrypt(key, hostile);
        EXPECT_LE(plain.length, (hostile.length / 2 + 7) / 8 * 8) << text;
    }
}

TEST(TextCipher, DecryptPadsALastPartialBlock) {
    // Ten hex digits are five bytes: deciphered as one zero-padded block,
    // exactly as if the missing digits were zeros.
    const RtString key("pad");
    const RtString five("0123456789");
    EXPECT_EQ(bytes_of(string_decrypt(key, five)),
              bytes_of(string_decrypt(key, RtString("0123456789000000"))));
}

TEST(TextCipher, LargeTextsRoundTrip) {
    std::string text(1 << 20, ' ');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
    const RtString key("large");
    const RtString cipher = string_encrypt(key, RtString(text.c_str()));
    EXPECT_EQ(cipher.length, 2u << 20);
    EXPECT_EQ(bytes_of(string_decrypt(key, cipher)), text);
}

}  // namespace
}  // namespace tvk
