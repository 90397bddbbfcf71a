// Text taken from outside: deciphering hex text, URL decoding and folding UTF-8 to
// single bytes. The first byte picks the function; the rest is its text (for
// deciphering: the key's length in the second byte, the key, then the hex text).
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "runtime/value/string_codings.h"
#include "runtime/value/text_cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tvk::fuzz::ByteReader in{data, size};
    switch (in.byte() % 3) {
        case 0: {
            const std::vector<uint8_t> key = in.take(in.byte() % 72);
            const std::vector<uint8_t> text = in.rest();
            const tvk::RtString plain = tvk::string_decrypt(tvk::fuzz::bytes_string(key.data(), key.size()),
                                                          tvk::fuzz::bytes_string(text.data(), text.size()));
            // Two digits per byte, the last block padded to eight bytes.
            if (plain.length > (text.size() / 2 + 8)) std::abort();
            break;
        }
        case 1: {
            const std::vector<uint8_t> text = in.rest();
            const tvk::RtString decoded = tvk::string_url_decode(tvk::fuzz::bytes_string(text.data(), text.size()));
            if (decoded.length > text.size()) std::abort();
            break;
        }
        case 2: {
            const std::vector<uint8_t> text = in.rest();
            tvk::RtString s = tvk::fuzz::bytes_string(text.data(), text.size());
            tvk::string_utf8_to_latin1(s);
            if (s.length > text.size() || s.data[s.length] != 0) std::abort();
            break;
        }
    }
    return 0;
}
