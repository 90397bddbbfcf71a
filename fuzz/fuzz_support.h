#pragma once
// Shared pieces of the fuzz targets: a private scratch folder per process, and
// runtime strings made from raw bytes (zero bytes included).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/files/memory_files.h"
#include "runtime/value/rt_string.h"

namespace tvk::fuzz {

// Creates a private folder under /tmp once per process, makes it TMPDIR (so the
// runtime's temporary files never reach the user's) and removes it again at exit.
// Returns its path with a trailing '/'. The working folder stays: libFuzzer reads
// its corpus and writes its artifacts by names relative to it.
const std::string& scratch_folder();

// A runtime string holding exactly these bytes.
RtString bytes_string(const uint8_t* data, size_t size);

// Takes input from the front of the fuzzer's bytes; reads past the end give 0.
struct ByteReader {
    const uint8_t* data;
    size_t size;

    uint8_t byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    uint16_t u16() { return static_cast<uint16_t>(byte() | byte() << 8); }
    // The next n bytes (fewer when the input runs out).
    std::vector<uint8_t> take(size_t n) {
        if (n > size) n = size;
        std::vector<uint8_t> out(data, data + n);
        data += n;
        size -= n;
        return out;
    }
    std::vector<uint8_t> rest() { return take(size); }
};

// Writes bytes to a file of the scratch folder; returns its full path.
std::string write_scratch_file(const char* name, const uint8_t* data, size_t size);

// The fuzzer's bytes as a file for the runtime to open: a disk file of the scratch
// folder named disk_name when on_disk, else a memory file (kept alive by block).
struct InputFile {
    MemoryBlockRef block;
    RtString name;
};
InputFile input_file(const char* disk_name, const uint8_t* data, size_t size, bool on_disk);

}  // namespace tvk::fuzz
