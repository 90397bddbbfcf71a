#pragma once
// The runtime's text cipher for std::string texts, every byte kept (the runtime's
// own texts are RtString). Both line formats of the game's files are made with it.
#include <string>

namespace tvk::game {

// The hex text of plain enciphered under key, and back; see runtime/value/text_cipher.h.
std::string encipher_text(const char* key, const std::string& plain);
std::string decipher_text(const char* key, const std::string& hex);

}  // namespace tvk::game
