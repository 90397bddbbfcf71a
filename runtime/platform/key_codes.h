#pragma once
// The runtime's keyboard scan codes (0..255) for the platform's keys.
#include <cstdint>

namespace tvk::platform {

// The scan code of a platform (USB usage) key, 0 for keys the runtime has no code for.
uint8_t key_code_of_usage(int32_t usage);
// The inverse, 0 when the code has no platform key.
int32_t usage_of_key_code(uint8_t code);

}  // namespace tvk::platform
