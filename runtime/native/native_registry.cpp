#include "runtime/native/native_registry.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/platform/libraries.h"
#include "runtime/value/error_state.h"
#include "runtime/value/trace_log.h"

namespace tvk {

namespace {

std::string lower_cased(const char* text) {
    std::string lower(text ? text : "");
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// The loader takes '/' separators; programs may write either.
std::string loader_path(const char* name) {
    std::string path(name ? name : "");
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

void report_failure(const std::string& text) {
    const std::string line = text + "\n";
    debug_output(RtString(line.c_str()));
    log_line(line.c_str());
}

int find_module(const NativeRegistry& registry, const std::string& lower) {
    for (size_t i = 0; i < registry.module_names.size(); ++i) {
        const RtString& name = registry.module_names[i];
        if (name.length == lower.size() && std::memcmp(name.data, lower.data(), lower.size()) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

NativeRegistry& native_registry() {
    static NativeRegistry registry;
    // Registered after the registry exists, so it runs before the registry is destroyed.
    static const bool release_at_exit = std::atexit(release_natives) == 0;
    (void)release_at_exit;
    return registry;
}

void declare_native(const char* module_name, const char* entry_name, void** slot) {
    if (slot) *slot = nullptr;
    native_registry().declarations.push_back(NativeDeclaration{module_name, entry_name, slot});
}

void resolve_declarations() {
    NativeRegistry& registry = native_registry();
    if (registry.declarations.empty()) return;
    log_line("Dealy load DLLs\n");
    // Indexed: a resolution never adds declarations, but keep the loop safe if one did.
    for (size_t i = 0; i < registry.declarations.size(); ++i) {
        const NativeDeclaration d = registry.declarations[i];
        resolve_native(d.module_name, d.entry_name, d.slot);
    }
}

void resolve_native(const char* module_name, const char* entry_name, void** slot) {
    NativeRegistry& registry = native_registry();
    const std::string lower = lower_cased(module_name);
    platform::Library* module = nullptr;
    const int index = find_module(registry, lower);
    if (index >= 0) {
        module = registry.loaded_modules[static_cast<size_t>(index)];
    } else {
        module = platform::open_library(loader_path(module_name));
        if (!module) {
            report_failure("DECLARE module not found: " + lower);
            return;
        }
        registry.loaded_modules.push_back(module);
        registry.module_names.emplace_back(lower.c_str());
    }
    void* address = entry_name ? platform::library_entry(module, entry_name) : nullptr;
    if (slot) *slot = address;
    if (!address) report_failure(std::string("DECLARE entry not found: ") + (entry_name ? entry_name : ""));
}

void release_natives() {
    NativeRegistry& registry = native_registry();
    for (platform::Library* module : registry.loaded_modules) platform::close_library(module);
    registry.loaded_modules.clear();
    registry.loaded_modules.shrink_to_fit();
    registry.module_names.clear();
    registry.module_names.shrink_to_fit();
    registry.declarations.clear();
    registry.declarations.shrink_to_fit();
}

}  // namespace tvk
