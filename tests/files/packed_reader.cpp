// A small program that reads its media the way a game does: through the channels and
// the media lookup, with the archive looked for in its own executable.
#include <cstdio>
#include <string>

#include "runtime/files/channels.h"
#include "runtime/files/file_record.h"
#include "runtime/files/media_archive.h"
#include "runtime/platform/system_paths.h"
#include "runtime/value/error_state.h"

int main() {
    using namespace tvk;
    const std::string self = platform::executable_path();
    set_media_archives(self.c_str(), self.c_str());

    if (channel_open(0, RtString("Media/hello.txt"), 1)) {
        while (!channel_at_end(0)) std::printf("line: %s\n", channel_read_line(0).c_str());
        channel_close(0);
    } else {
        std::printf("hello: %s\n", error_text().c_str());
    }

    std::string music;
    if (resolve_media_path(media_archives().temporary_files, "Media/tune.ogg", music, false)) {
        FileRecord record;
        char text[64] = {};
        if (file_open_read(record, music.c_str())) file_read(record, text, record.size < 63 ? record.size : 63);
        file_close(record);
        std::printf("music: %s\n", text);
    } else {
        std::printf("music: not found\n");
    }
    release_media_archives();
    return 0;
}
