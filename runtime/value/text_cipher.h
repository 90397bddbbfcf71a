#pragma once
// The text cipher of the runtime's enciphered files: Blowfish in ECB mode
// over zero-padded 8-byte blocks, written as lower-case hex.
#include "runtime/value/rt_string.h"

namespace tvk {

// All key bytes are used. The text is padded with zero bytes to a multiple
// of 8; the result has two hex digits per padded byte (empty for an empty text).
RtString string_encrypt(const RtString& key, const RtString& text);
// Accepts any text: digit pairs are decoded (an odd last digit is ignored),
// a last partial block is zero-padded, and the result ends at the first zero
// byte of the deciphered bytes, which removes the padding of string_encrypt.
RtString string_decrypt(const RtString& key, const RtString& hex_text);

}  // namespace tvk
