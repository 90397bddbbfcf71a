#pragma once
// What the system tells about the machine and the user: its name, an identifier,
// the battery, the user's language and the user's folders. Folders come with '/'
// separators and without a trailing '/'.
#include <cstdint>
#include <optional>
#include <string>

namespace tvk::platform {

// The name programs are given for the system they run on: "LINUX", "WIN32".
const char* system_name();

// A number that stays the same for this machine: on Linux /etc/machine-id (or the
// D-Bus copy) folded to 32 bits by XOR of its four 32-bit words, on Windows the
// serial number of drive C:; nothing when it cannot be read.
std::optional<uint32_t> machine_id_word();

// Charge of the first battery in percent (0-100); 255 when there is no battery or
// its charge is unknown. On Linux the batteries are looked for under
// power_supply_folder; Windows asks the system's power status.
int32_t battery_percent(const std::string& power_supply_folder = "/sys/class/power_supply");

// The user's language setting as a locale name ("de_DE.UTF-8", "sr_RS@latin"): on
// Linux LC_ALL, LC_MESSAGES or LANG, the first one set; on Windows the user's
// interface language. Empty when none is set.
std::string user_language();

// The user's documents folder (XDG on Linux, the known folder on Windows); empty when
// there is none.
std::string documents_folder();
// The user's folder for application data kept on this machine: $XDG_DATA_HOME or
// ~/.local/share on Linux; on Windows %LOCALAPPDATA% (the variable when it names a
// folder on a drive, else the known folder); empty when there is none.
std::string application_data_folder();

}  // namespace tvk::platform
