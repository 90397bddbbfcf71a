#include "runtime/value/program_settings.h"

namespace tvk {

ProgramSettings& runtime_settings() {
    static ProgramSettings settings;
    return settings;
}

}  // namespace tvk
