// Wave files: every chunk size is checked against the bytes there are, from memory
// and through a memory-file name as sound slots load them.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "runtime/audio/wave_loader.h"
#include "runtime/files/memory_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tvk::WaveFile wave;
    const bool parsed = tvk::parse_wave(data, size, wave);
    if (parsed && wave.data.size() > size) std::abort();

    const tvk::MemoryBlockRef block = tvk::make_memory_block(std::vector<uint8_t>(data, data + size));
    const std::string name = tvk::memory_file_name(block);
    tvk::WaveFile loaded;
    const bool ok = tvk::load_wave_file(name.c_str(), loaded);
    if (ok != parsed || (ok && (loaded.data != wave.data || loaded.format_tag != wave.format_tag))) std::abort();
    return 0;
}
