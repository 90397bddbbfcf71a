#include "runtime/core/console.h"

#include "runtime/platform/this_process.h"

namespace tvk {

int32_t open_console() { return platform::attach_console() ? 1 : 0; }

}  // namespace tvk
