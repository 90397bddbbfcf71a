#include "runtime/core/program_settings.h"

namespace tvk {

ProgramSettings& runtime_settings() {
    static ProgramSettings settings;
    return settings;
}

}  // namespace tvk
