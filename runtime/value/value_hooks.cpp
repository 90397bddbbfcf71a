#include "runtime/value/value_hooks.h"

namespace tvk {

ValueHooks& value_hooks() {
    static ValueHooks hooks;
    return hooks;
}

void shutdown_runtime_services() {
    if (value_hooks().shutdown_runtime) value_hooks().shutdown_runtime();
}

}  // namespace tvk
