#include "runtime/native/host_hooks.h"

namespace tvk {

HostHooks& host_hooks() {
    static HostHooks hooks;
    return hooks;
}

}  // namespace tvk
