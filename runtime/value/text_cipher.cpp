#include "runtime/value/text_cipher.h"

#include <cstring>
#include <memory>

#include "runtime/value/blowfish.h"
#include "runtime/value/string_codings.h"

namespace tvk {

namespace {
constexpr uint32_t kBlock = 8;

std::unique_ptr<BlowfishKey> make_key(const RtString& key) {
    auto schedule = std::make_unique<BlowfishKey>();
    blowfish_init(*schedule, reinterpret_cast<const uint8_t*>(key.data), key.length);
    return schedule;
}

// Each block is two 32-bit halves stored little-endian, the left half first.
uint32_t load_le(const unsigned char* p) noexcept {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void store_le(unsigned char* p, uint32_t v) noexcept {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

template <class Cipher>
void apply_blocks(const BlowfishKey& key, unsigned char* bytes, uint32_t count, Cipher cipher) {
    for (uint32_t at = 0; at + kBlock <= count; at += kBlock) {
        uint32_t left = load_le(bytes + at);
        uint32_t right = load_le(bytes + at + 4);
        cipher(key, left, right);
        store_le(bytes + at, left);
        store_le(bytes + at + 4, right);
    }
}

uint32_t padded_length(uint32_t n) {
    return detail::checked_text_length((uint64_t{n} + kBlock - 1) / kBlock * kBlock);
}

// A hex digit of the cipher text: 0-9 by value, letters of either case from
// 'a' = 10 on. Other characters give some byte value rather than an error;
// the result is garbage either way, but it is always bounded.
unsigned digit_value(unsigned char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    return static_cast<unsigned>(c - 87);
}
}  // namespace

RtString string_encrypt(const RtString& key, const RtString& text) {
    if (text.length == 0) return RtString();
    const uint32_t padded = padded_length(text.length);
    // The work block is zero-filled so that the padding bytes are zeros.
    std::unique_ptr<unsigned char[]> work(new unsigned char[padded]());
    std::memcpy(work.get(), text.data, text.length);
    const auto schedule = make_key(key);
    apply_blocks(*schedule, work.get(), padded, blowfish_encrypt_block);
    return string_hex_encode(work.get(), padded, false);
}

RtString string_decrypt(const RtString& key, const RtString& hex_text) {
    const uint32_t n = hex_text.length / 2;
    if (n == 0) return RtString();
    const uint32_t padded = padded_length(n);
    // The deciphered bytes are built in the result's own block: the padded
    // length of bytes plus the terminator, zero-filled beyond the n decoded
    // bytes so that a last partial block is padded as string_encrypt pads.
    RtString result;
    string_reserve(result, padded, false);
    auto* bytes = reinterpret_cast<unsigned char*>(result.data);
    std::memset(bytes, 0, uint64_t{padded} + 1);
    const auto* hex = reinterpret_cast<const unsigned char*>(hex_text.data);
    for (uint32_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<unsigned char>(digit_value(hex[2 * i]) * 16 +
                                              digit_value(hex[2 * i + 1]));
    }
    const auto schedule = make_key(key);
    apply_blocks(*schedule, bytes, padded, blowfish_decrypt_block);
    string_sync_length(result);
    return result;
}

}  // namespace tvk
