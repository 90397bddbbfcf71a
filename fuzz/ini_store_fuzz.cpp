// Settings files: the store reads any bytes (from a memory file, or from a disk file
// in the private folder), answers lookups, and a value put into a disk file is read
// back the same after the store wrote it and read it again.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "runtime/files/ini_store.h"
#include "runtime/value/error_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tvk::fuzz::scratch_folder();
    const bool on_disk = size > 0 && (data[0] & 1) != 0;
    const tvk::fuzz::InputFile input = tvk::fuzz::input_file("settings.ini", data, size, on_disk);
    const tvk::RtString& file = input.name;
    tvk::ini_open(file);
    tvk::ini_get("Settings", "key", "none");
    tvk::ini_get("", "", "");
    tvk::ini_put("fuzzsection", "fuzzkey", "fuzzvalue");
    if (std::strcmp(tvk::ini_get("FUZZSECTION", "FuzzKey", "x").c_str(), "fuzzvalue") != 0) std::abort();
    if (on_disk) {
        tvk::ini_open("");  // writes the changed file back
        tvk::ini_open(file);
        if (std::strcmp(tvk::ini_get("fuzzsection", "fuzzkey", "x").c_str(), "fuzzvalue") != 0) std::abort();
    }
    tvk::ini_open("");
    tvk::clear_error();
    return 0;
}
