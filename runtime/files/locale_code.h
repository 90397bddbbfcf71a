#pragma once
// The two-letter language code of the LOCALE query, computed the way programs of this
// runtime have always received it: the user's language is expressed as a classic
// numeric language identifier, mapped through a fixed table and a few fix-ups.
// (So US English answers "uk" and the other English variants "us"; programs compare
// against exactly these codes.)
#include <cstdint>
#include <string>

namespace tvk {

// The language identifier of a locale name such as "pt_BR.UTF-8"; "C", "POSIX" and
// an empty name count as US English (0x409); an unknown language gives 0.
uint16_t language_identifier(const std::string& locale_name);

// The code for a language identifier: table, lower case, fix-ups; "us" otherwise.
std::string locale_code(uint16_t language);

}  // namespace tvk
