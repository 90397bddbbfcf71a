// What Windows tells about the machine and the user: the system volume's serial
// number, the power status, the user's interface language and known folders.
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "runtime/platform/system_info.h"
#include "runtime/platform/win32_text.h"

namespace tvk::platform {

namespace {

std::string known_folder(const KNOWNFOLDERID& id) {
    wchar_t* path = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)) && path) folder = runtime_path(path);
    CoTaskMemFree(path);
    while (folder.size() > 3 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

const char* system_name() { return "WIN32"; }

std::optional<uint32_t> machine_id_word() {
    DWORD serial = 0;
    if (!GetVolumeInformationW(L"C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) return std::nullopt;
    return static_cast<uint32_t>(serial);
}

int32_t battery_percent(const std::string&) {
    SYSTEM_POWER_STATUS status{};
    if (!GetSystemPowerStatus(&status)) return 255;
    // 128: the machine has no battery; 255: the charge is unknown.
    if (status.BatteryFlag == 128 || status.BatteryFlag == 255) return 255;
    return status.BatteryLifePercent;
}

std::string user_language() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (!LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0)) {
        return {};
    }
    // "sr-Latn-RS" is written "sr_RS@latin" here; a script part is dropped otherwise.
    std::string language;
    bool latin = false;
    std::string text = utf8_from_wide(name);
    size_t start = 0;
    while (start <= text.size()) {
        const size_t dash = text.find('-', start);
        const std::string part = text.substr(start, dash == std::string::npos ? std::string::npos : dash - start);
        if (part.size() == 4 && start > 0) {
            latin = latin || part == "Latn";
        } else if (!part.empty()) {
            language += (language.empty() ? "" : "_") + part;
        }
        if (dash == std::string::npos) break;
        start = dash + 1;
    }
    return latin ? language + "@latin" : language;
}

std::string documents_folder() { return known_folder(FOLDERID_Documents); }

// %LOCALAPPDATA% as the environment names it, as programs have long read it (so a
// user or a test may point it elsewhere); the known folder when it is not set.
std::string application_data_folder() {
    wchar_t value[MAX_PATH + 1] = {};
    const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH + 1);
    if (n > 2 && n <= MAX_PATH && value[1] == L':') {
        std::string folder = runtime_path(std::wstring(value, n));
        while (folder.size() > 3 && folder.back() == '/') folder.pop_back();
        return folder;
    }
    return known_folder(FOLDERID_LocalAppData);
}

}  // namespace tvk::platform
