// Media archives: the directory is read and checked, and every member it lists is
// unpacked; corrupt LZO data, offsets and sizes must be refused without reading or
// writing outside the archive or the unpacked block.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "runtime/files/archive_format.h"
#include "runtime/files/memory_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const tvk::MemoryBlockRef block = tvk::make_memory_block(std::vector<uint8_t>(data, data + size));
    const std::string name = tvk::memory_file_name(block);
    tvk::ArchiveSource source;
    if (!source.open(name.c_str())) std::abort();
    std::vector<tvk::ArchiveEntry> entries;
    if (!tvk::read_archive_directory(source, entries)) return 0;
    size_t tried = 0;
    for (const tvk::ArchiveEntry& entry : entries) {
        if (!tvk::is_safe_member_name(entry.name)) std::abort();
        if (entry.offset < 0 || entry.offset + static_cast<int64_t>(entry.stored_size) > source.size())
            std::abort();
        if (++tried > 64) break;
        uint32_t length = 0;
        if (!tvk::read_member_length(source, entry, length)) continue;
        if (length > (1u << 24)) continue;  // honest but large members only slow the search down
        std::vector<uint8_t> bytes;
        if (tvk::unpack_archive_member(source, entry, bytes) && bytes.size() != length) std::abort();
    }
    return 0;
}
