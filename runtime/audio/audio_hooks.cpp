#include "runtime/audio/audio_hooks.h"

namespace tvk {

AudioHooks& audio_hooks() {
    static AudioHooks hooks;
    return hooks;
}

}  // namespace tvk
