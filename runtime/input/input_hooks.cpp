#include "runtime/input/input_hooks.h"

namespace tvk {

InputHooks& input_hooks() {
    static InputHooks hooks;
    return hooks;
}

}  // namespace tvk
