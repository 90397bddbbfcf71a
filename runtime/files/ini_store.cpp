#include "runtime/files/ini_store.h"

#include <strings.h>

#include <string>
#include <utility>
#include <vector>

#include "runtime/files/file_record.h"
#include "runtime/files/media_archive.h"
#include "runtime/files/memory_files.h"
#include "runtime/files/whole_file_write.h"

namespace tvk {

namespace {

constexpr int32_t kIniLine = 1024;

struct IniSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
};

struct IniStore {
    std::string file;
    std::vector<IniSection> sections;
    bool changed = false;
};

IniStore& ini_store() {
    static IniStore store;
    return store;
}

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool word_end(char c) { return c == 0 || c == ' ' || c == '\t' || c == '=' || c == '\r' || c == '\n'; }

IniSection* find_section(IniStore& store, const char* name) {
    for (IniSection& section : store.sections) {
        if (strcasecmp(section.name.c_str(), name) == 0) return &section;
    }
    return nullptr;
}

void attach(IniStore& store, const std::string& name, std::vector<std::pair<std::string, std::string>>& keys) {
    IniSection* section = find_section(store, name.c_str());
    if (!section) {
        store.sections.push_back({name, {}});
        section = &store.sections.back();
    }
    for (auto& pair : keys) section->keys.push_back(std::move(pair));
    keys.clear();
}

void parse_line(const char* text, IniStore& store, std::string& section,
                std::vector<std::pair<std::string, std::string>>& pending, bool& any_section) {
    while (blank(*text)) ++text;
    if (*text == 0 || *text == ';') return;
    if (*text == '[') {
        ++text;
        while (*text == ' ' || *text == '\t') ++text;
        const char* end = text;
        while (!word_end(*end)) ++end;
        std::string name(text, end);
        if (!name.empty() && name.back() == ']') name.pop_back();
        if (name.empty()) return;
        if (any_section || !pending.empty()) attach(store, section, pending);
        section = name;
        any_section = true;
        return;
    }
    const char* end = text;
    while (!word_end(*end)) ++end;
    std::string key(text, end);
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '=') return;
    ++end;
    while (*end == ' ' || *end == '\t') ++end;
    std::string value(end);
    while (!value.empty() && static_cast<unsigned char>(value.back()) < 32) value.pop_back();
    if (value.empty() || key.empty()) return;
    pending.emplace_back(std::move(key), std::move(value));
}

void load(IniStore& store) {
    std::string resolved;
    resolve_media_path(media_archives().memory_files, store.file.c_str(), resolved, true);
    FileRecord record;
    if (!file_open_read(record, resolved.empty() ? store.file.c_str() : resolved.c_str())) return;
    char line[kIniLine + 1];
    std::string section;
    std::vector<std::pair<std::string, std::string>> pending;
    bool any_section = false;
    while (read_text_line(record, line, kIniLine, nullptr) == LineRead::kLine) {
        parse_line(line, store, section, pending, any_section);
    }
    file_close(record);
    if (any_section || !pending.empty()) attach(store, section, pending);
}

void write_back(IniStore& store) {
    if (!store.changed || store.file.empty() || is_memory_file_name(store.file.c_str())) return;
    store.changed = false;
    // Replaced whole: a full disk keeps the old settings rather than an emptied file.
    std::string text;
    for (const IniSection& section : store.sections) {
        text += "[" + section.name + "]\r\n";
        for (const auto& [key, value] : section.keys) text += key + "=" + value + "\r\n";
    }
    write_file_whole(store.file, text);
}

}  // namespace

void ini_open(const RtString& file) {
    IniStore& store = ini_store();
    write_back(store);
    store = IniStore{};
    store.file = file.c_str();
    if (!store.file.empty()) load(store);
}

RtString ini_get(const RtString& section, const RtString& key, const RtString& fallback) {
    IniSection* found = find_section(ini_store(), section.c_str());
    if (found) {
        for (const auto& [name, value] : found->keys) {
            if (strcasecmp(name.c_str(), key.c_str()) == 0) return RtString(value.c_str());
        }
    }
    return fallback;
}

void ini_put(const RtString& section, const RtString& key, const RtString& value) {
    IniStore& store = ini_store();
    IniSection* found = find_section(store, section.c_str());
    if (!found) {
        store.sections.push_back({section.c_str(), {}});
        found = &store.sections.back();
    }
    store.changed = true;
    for (auto& [name, old] : found->keys) {
        if (strcasecmp(name.c_str(), key.c_str()) == 0) {
            old = value.c_str();
            return;
        }
    }
    found->keys.emplace_back(key.c_str(), value.c_str());
}

void write_back_ini_store() { write_back(ini_store()); }

}  // namespace tvk
