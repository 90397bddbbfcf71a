#pragma once
// What the system tells about the machine and the user: identifier, battery,
// language and the user's folders.
#include <cstdint>
#include <optional>
#include <string>

namespace tvk::platform {

// /etc/machine-id (or the D-Bus copy) folded to 32 bits by XOR of its four 32-bit
// words; nothing when it cannot be read.
std::optional<uint32_t> machine_id_word();

// Charge of the first battery under the power-supply folder in percent (0-100);
// 255 when there is no battery or its charge is unknown.
int32_t battery_percent(const std::string& power_supply_folder = "/sys/class/power_supply");

// The user's language setting ("de_DE.UTF-8"): LC_ALL, LC_MESSAGES or LANG, the first
// one set; empty when none is.
std::string user_language();

// The XDG documents folder without a trailing '/'; empty when there is no home.
std::string documents_folder();
// The XDG data folder ($XDG_DATA_HOME or ~/.local/share) without a trailing '/';
// empty when there is no home.
std::string application_data_folder();

}  // namespace tvk::platform
