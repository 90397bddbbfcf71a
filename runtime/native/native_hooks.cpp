#include "runtime/native/native_hooks.h"

namespace tvk {

NativeHooks& native_hooks() {
    static NativeHooks hooks;
    return hooks;
}

}  // namespace tvk
