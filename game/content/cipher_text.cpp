#include "game/content/cipher_text.h"

#include "runtime/value/rt_string.h"
#include "runtime/value/text_cipher.h"

namespace tvk::game {

namespace {

RtString runtime_text(const std::string& text) {
    RtString value;
    string_append_bytes(value, text.data(), detail::checked_text_length(text.size()));
    return value;
}

std::string std_text(const RtString& value) { return std::string(value.data, value.length); }

}  // namespace

std::string encipher_text(const char* key, const std::string& plain) {
    return std_text(string_encrypt(RtString(key), runtime_text(plain)));
}

std::string decipher_text(const char* key, const std::string& hex) {
    return std_text(string_decrypt(RtString(key), runtime_text(hex)));
}

}  // namespace tvk::game
