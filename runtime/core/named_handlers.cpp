#include "runtime/core/named_handlers.h"

#include <cstring>
#include <string>

#include "runtime/value/error_state.h"

namespace tvk {

namespace {
const NamedHandler*& handler_table() {
    static const NamedHandler* table = nullptr;
    return table;
}
}  // namespace

void set_named_handler_table(const NamedHandler* table) { handler_table() = table; }

void (*find_named_handler(const char* name))() {
    const NamedHandler* table = handler_table();
    if (!table || !name) return nullptr;
    for (; table->handler; ++table) {
        if (table->name && std::strcmp(table->name, name) == 0) return table->handler;
    }
    return nullptr;
}

int call_by_name(const char* name) {
    if (void (*handler)() = find_named_handler(name)) {
        handler();
        return 1;
    }
    // The quit and message handlers are optional by design; only other missing
    // names are worth telling a debugger about.
    if (name && std::strcmp(name, "TVK_ON_QUIT") != 0 && std::strcmp(name, "TVK_WIN32_MSG") != 0) {
        const std::string line = std::string("CALLBYNAME \"") + name + "\" *** failed ***\n";
        debug_output(RtString(line.c_str()));
    }
    return 0;
}

}  // namespace tvk
