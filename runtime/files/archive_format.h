#pragma once
// The media archive: members packed with LZO1X behind a directory and a 7-byte
// trailer, usually appended to an executable. All integers are little-endian.
//
//   member:    unpacked length U (32-bit), then the LZO1X data
//   directory: entries of name length L (1 byte, 1-255), L bytes of bare file name,
//              member offset (signed 32-bit), stored size S (32-bit, U included);
//              ended by an entry whose name length is 0
//   trailer:   's' 'b' 'X', then the directory offset D (signed 32-bit)
//
// D >= 0: the directory starts at D and member offsets are absolute. D < 0: the
// directory starts at archive size + D and a member offset O means archive size + O,
// so an archive keeps working when it is appended to another file.
//
// Archives are untrusted input: every entry, offset and size is checked against the
// archive's size, member names must be bare file names, and unpacking never writes
// beyond the stated length.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/files/memory_files.h"
#include "runtime/platform/files.h"

namespace tvk {

inline constexpr uint8_t kArchiveMagic[3] = {0x73, 0x62, 0x58};
inline constexpr int64_t kArchiveTrailerSize = 7;

// The bytes of an archive: a disk file or a memory file.
class ArchiveSource {
public:
    ArchiveSource() = default;
    ~ArchiveSource();
    ArchiveSource(const ArchiveSource&) = delete;
    ArchiveSource& operator=(const ArchiveSource&) = delete;

    // Opens a disk file or a live memory-file name; false when neither works.
    bool open(const char* name);
    int64_t size() const { return size_; }
    // Reads exactly n bytes at offset; false when any of them lies outside.
    bool read_at(int64_t offset, void* buffer, int64_t n) const;

private:
    platform::File* file_ = nullptr;
    MemoryBlockRef block_;
    int64_t size_ = 0;
};

struct ArchiveEntry {
    std::string name;
    int32_t stored_offset = 0;  // as written in the directory
    int64_t offset = 0;         // where the member starts in the archive
    uint32_t stored_size = 0;   // S: the unpacked length field and the packed data
};

// A bare file name: no separators, no zero byte, not "." or "..".
bool is_safe_member_name(const std::string& name);

// Reads and checks the whole directory; false for anything but a sound archive.
bool read_archive_directory(const ArchiveSource& source, std::vector<ArchiveEntry>& entries);

// Reads the member's unpacked length; false when the member cannot be read.
bool read_member_length(const ArchiveSource& source, const ArchiveEntry& entry, uint32_t& length);

// Unpacks one member; false when its data are corrupt or do not give exactly U bytes.
bool unpack_archive_member(const ArchiveSource& source, const ArchiveEntry& entry,
                           std::vector<uint8_t>& bytes);

struct ArchiveInput {
    std::string name;  // bare member name
    std::vector<uint8_t> bytes;
};

// Packs the members with LZO1X-1 into an archive with end-relative offsets, ready to
// stand alone or to be appended to an executable. Names are not checked here.
// packed, when given, hears of each member with its stored size.
using PackedMemberReport = std::function<void(const ArchiveInput& member, size_t stored_size)>;
std::vector<uint8_t> build_archive(const std::vector<ArchiveInput>& members,
                                   const PackedMemberReport& packed = nullptr);

// Packs one member's bytes (U, then the LZO1X-1 data).
std::vector<uint8_t> pack_member(const std::vector<uint8_t>& bytes);

}  // namespace tvk
