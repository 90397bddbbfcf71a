#include "runtime/files/platform_info.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/files/locale_code.h"
#include "runtime/platform/calendar.h"
#include "runtime/platform/folders.h"
#include "runtime/platform/system_info.h"
#include "runtime/platform/system_paths.h"

namespace tvk {

namespace {

// The value the identifier keeps when the system gives none, and the mask it is
// disguised with.
constexpr uint32_t kUnknownMachine = 16390125;
constexpr uint32_t kMachineMask = 0x194AD2F3;

GlFunctionLookup& gl_lookup() {
    static GlFunctionLookup lookup = nullptr;
    return lookup;
}

RtString machine_identifier() {
    const uint32_t value = platform::machine_id_word().value_or(kUnknownMachine) ^ kMachineMask;
    char text[9];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", value & 0xFF, (value >> 8) & 0xFF,
                  (value >> 16) & 0xFF, value >> 24);
    return RtString(text);
}

RtString time_text(bool utc) {
    return format_date_time(utc ? platform::utc_date_time() : platform::local_date_time());
}

RtString application_data() {
    const std::string base = platform::application_data_folder();
    if (base.empty()) return RtString("NO_DATA");
    const std::string folder = base + "/Tavrick";
    platform::make_folders(folder);
    return RtString(folder.c_str());
}

}  // namespace

ProgramConstants& program_constants() {
    static ProgramConstants constants;
    return constants;
}

void set_gl_function_lookup(GlFunctionLookup lookup) { gl_lookup() = lookup; }

RtString format_date_time(const std::tm& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", time.tm_year + 1900, time.tm_mon + 1,
                  time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
    return RtString(text);
}

RtString platform_info(RtString& key) {
    const std::string given(key.data, key.length);
    for (uint32_t i = 0; i < key.length; ++i) {
        if (key.data[i] >= 'a' && key.data[i] <= 'z') key.data[i] = static_cast<char>(key.data[i] - 'a' + 'A');
    }
    const std::string k(key.data, key.length);
    if (k.empty()) return RtString(platform::system_name());
    if (k == "DEVICE") return RtString("DESKTOP");
    if (k.rfind("GLEXT:", 0) == 0) {
        // The function name is looked up in the case in which it was given.
        const GlFunctionLookup lookup = gl_lookup();
        return RtString(lookup && given.size() > 6 && lookup(given.c_str() + 6) ? "1" : "0");
    }
    if (k == "ID") return machine_identifier();
    if (k == "TIME") return time_text(false);
    if (k == "UTCTIME") return time_text(true);
    if (k == "BATTERY") {
        const int32_t percent = platform::battery_percent();
        return RtString(std::to_string(percent > 100 ? 100 : percent).c_str());
    }
    if (k == "COMPILED") return program_constants().compiled;
    if (k == "HOSTID") return program_constants().host_id;
    if (k == "VERSION") return program_constants().version;
    if (k == "LOCALE") return RtString(locale_code(language_identifier(platform::user_language())).c_str());
    if (k == "DOCUMENTS") {
        const std::string folder = platform::documents_folder();
        return RtString(folder.empty() ? "NO_DATA" : folder.c_str());
    }
    if (k == "APPDATA") return application_data();
    if (k == "TEMP") return RtString(platform::temp_folder().c_str());
    return RtString("NO_DATA");
}

}  // namespace tvk
