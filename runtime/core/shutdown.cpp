#include "runtime/core/shutdown.h"

namespace tvk {

void shutdown_runtime() {
    // Each service is released here, in this order, as the services arrive:
    // 1. the program's "TVK_ON_QUIT" handler, once;
    // 2. with a device: trace "Shut down TVK", music, back to the executable's folder,
    //    file channels, sockets and network state, input devices, sound, the device
    //    and the 3D scene object, media-archive temporaries, the window, trace
    //    "tvk is shut down".
}

}  // namespace tvk
