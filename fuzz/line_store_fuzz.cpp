// Numbered-line files: any bytes give at most 256 lines without control bytes at
// their ends; a line written to a disk file reads back the same after the store
// wrote the file and read it again.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "runtime/files/line_store.h"
#include "runtime/value/error_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tvk::fuzz::scratch_folder();
    const bool on_disk = size > 0 && (data[0] & 1) != 0;
    const tvk::fuzz::InputFile input = tvk::fuzz::input_file("lines.txt", data, size, on_disk);
    const tvk::RtString& file = input.name;
    for (int32_t i = 0; i < tvk::kLineStoreLines; ++i) {
        const tvk::RtString line = tvk::line_store_read(file, i);
        if (line.length > 0 && static_cast<unsigned char>(line.data[line.length - 1]) < 32) std::abort();
    }
    tvk::line_store_read_int(file, 0);
    tvk::line_store_read_float(file, 1);
    if (on_disk) {
        tvk::line_store_write(file, 5, "fuzz line");
        tvk::line_store_read("", 0);  // writes the changed file back
        if (std::strcmp(tvk::line_store_read(file, 5).c_str(), "fuzz line") != 0) std::abort();
    }
    tvk::line_store_read("", 0);
    tvk::clear_error();
    return 0;
}
