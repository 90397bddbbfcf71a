// Name lookup in a fuzzed media archive. The input is a name (its length in the low
// six bits of the first byte, the top bit asking for a temporary file instead of a
// memory file), then the archive. Lookups run in a private working folder, and every
// block and temporary file handed out is released before the next input.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "runtime/files/media_archive.h"
#include "runtime/files/memory_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tvk::fuzz::scratch_folder();
    tvk::fuzz::ByteReader in{data, size};
    const uint8_t head = in.byte();
    const bool want_memory = (head & 0x80) == 0;
    const std::vector<uint8_t> name_bytes = in.take(head & 0x3f);
    std::string name(name_bytes.begin(), name_bytes.end());
    name = name.c_str();  // the lookup takes a zero-terminated name
    const tvk::MemoryBlockRef archive = tvk::make_memory_block(in.rest());

    tvk::MediaArchiveState state;
    state.enabled = 1;
    state.archive_path = tvk::memory_file_name(archive);
    std::string result;
    if (tvk::resolve_media_path(state, name.c_str(), result, want_memory) && !state.temp_file.empty() &&
        state.temp_file != result)
        std::abort();
    if (!state.temp_file.empty() && state.temp_file.rfind(tvk::fuzz::scratch_folder(), 0) != 0) std::abort();
    // An empty name releases what the lookup handed out, as the next lookup would.
    tvk::resolve_media_path(state, "", result, want_memory);
    if (state.block || !state.temp_file.empty()) std::abort();
    return 0;
}
