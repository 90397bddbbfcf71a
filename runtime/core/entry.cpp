#include "runtime/core/entry.h"

#include <string>

#include "runtime/core/hook_wiring.h"
#include "runtime/core/service_table.h"

namespace tvk {

namespace {

std::string& failure_reason() {
    static std::string reason;
    return reason;
}

}  // namespace

const char* init_failure_reason() { return failure_reason().c_str(); }

bool init_runtime(void* instance, int32_t show_command, const char* title) {
    failure_reason().clear();
    connect_layer_hooks();
    StartUp start;
    start.instance = instance;
    start.show_command = show_command;
    start.title = title ? title : "";
    for (const ServiceSteps& row : service_table()) {
        if (row.start && !row.start(start)) {
            failure_reason() = start.failure;
            return false;
        }
    }
    return true;
}

}  // namespace tvk
