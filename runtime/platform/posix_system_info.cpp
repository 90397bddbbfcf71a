#include "runtime/platform/system_info.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace tvk::platform {

namespace {

std::string read_first_line(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

std::string home_folder() {
    const char* home = std::getenv("HOME");
    return home && *home ? home : "";
}

bool is_directory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs, with $HOME expanded; empty when not set there.
std::string documents_from_user_dirs(const std::string& home) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string file = (config && *config ? std::string(config) : home + "/.config") + "/user-dirs.dirs";
    std::ifstream in(file);
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        return value;
    }
    return {};
}

std::string without_trailing_slash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

const char* system_name() { return "LINUX"; }

std::optional<uint32_t> machine_id_word() {
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        const std::string id = read_first_line(path);
        if (id.size() < 32) continue;
        uint32_t folded = 0;
        bool valid = true;
        for (int word = 0; word < 4 && valid; ++word) {
            char* end = nullptr;
            const std::string digits = id.substr(static_cast<size_t>(word) * 8, 8);
            const unsigned long value = std::strtoul(digits.c_str(), &end, 16);
            valid = end && *end == 0;
            folded ^= static_cast<uint32_t>(value);
        }
        if (valid) return folded;
    }
    return std::nullopt;
}

int32_t battery_percent(const std::string& power_supply_folder) {
    DIR* folder = opendir(power_supply_folder.c_str());
    if (!folder) return 255;
    int32_t percent = 255;
    while (const dirent* entry = readdir(folder)) {
        const std::string base = power_supply_folder + "/" + entry->d_name;
        if (entry->d_name[0] == '.' || read_first_line(base + "/type") != "Battery") continue;
        const std::string capacity = read_first_line(base + "/capacity");
        if (capacity.empty()) continue;
        const int value = std::atoi(capacity.c_str());
        if (value >= 0 && value <= 100) {
            percent = value;
            break;
        }
    }
    closedir(folder);
    return percent;
}

std::string user_language() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return {};
}

std::string documents_folder() {
    const std::string home = home_folder();
    if (home.empty()) return {};
    const std::string configured = documents_from_user_dirs(home);
    if (!configured.empty()) return without_trailing_slash(configured);
    const std::string usual = home + "/Documents";
    return is_directory(usual) ? usual : without_trailing_slash(home);
}

std::string application_data_folder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/') return without_trailing_slash(data);
    const std::string home = home_folder();
    return home.empty() ? std::string() : home + "/.local/share";
}

}  // namespace tvk::platform
