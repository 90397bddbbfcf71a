#include "runtime/files/archive_format.h"

#include <lzo/lzo1x.h>

#include <cstring>
#include <new>

#include "runtime/files/path_names.h"

namespace tvk {

namespace {

bool lzo_ready() {
    static const bool ready = lzo_init() == LZO_E_OK;
    return ready;
}

uint32_t get_u32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// LZO1X gives at most 255 bytes for each packed byte (a run length extends by 255
// per extra byte), plus a short tail; a larger stated length cannot be honest.
bool plausible_length(uint32_t unpacked, uint32_t packed) {
    return uint64_t{unpacked} <= uint64_t{packed} * 256 + 256;
}

}  // namespace

ArchiveSource::~ArchiveSource() { platform::close_file(file_); }

bool ArchiveSource::open(const char* name) {
    if (!name || !*name) return false;
    if (is_memory_file_name(name)) {
        block_ = find_memory_file(name);
        if (!block_) return false;
        size_ = static_cast<int64_t>(block_->bytes.size());
        return true;
    }
    // Shared: the archive is usually the running program's own executable.
    file_ = platform::open_file(system_path(name), {.access = platform::FileAccess::kRead});
    if (!file_) return false;
    const platform::PathInfo info = platform::file_info(file_);
    if (info.kind != platform::PathKind::kFile) {
        platform::close_file(file_);
        file_ = nullptr;
        return false;
    }
    size_ = info.size;
    return true;
}

bool ArchiveSource::read_at(int64_t offset, void* buffer, int64_t n) const {
    if (offset < 0 || n < 0 || offset > size_ || n > size_ - offset) return false;
    if (n == 0) return true;
    if (block_) {
        std::memcpy(buffer, block_->bytes.data() + offset, static_cast<size_t>(n));
        return true;
    }
    return platform::read_file_at(file_, offset, buffer, n) == n;
}

bool is_safe_member_name(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

bool read_archive_directory(const ArchiveSource& source, std::vector<ArchiveEntry>& entries) {
    entries.clear();
    const int64_t size = source.size();
    if (size < kArchiveTrailerSize) return false;
    const int64_t end = size - kArchiveTrailerSize;  // nothing of the directory or members lies beyond
    uint8_t trailer[kArchiveTrailerSize];
    if (!source.read_at(end, trailer, kArchiveTrailerSize)) return false;
    if (std::memcmp(trailer, kArchiveMagic, 3) != 0) return false;
    const auto stored_directory = static_cast<int32_t>(get_u32(trailer + 3));
    const bool relative = stored_directory < 0;
    int64_t at = relative ? size + stored_directory : stored_directory;
    if (at < 0 || at > end) return false;
    for (;;) {
        uint8_t length = 0;
        if (at + 1 > end || !source.read_at(at, &length, 1)) return false;
        at += 1;
        if (length == 0) return true;
        if (at + length + 8 > end) return false;
        ArchiveEntry entry;
        entry.name.resize(length);
        uint8_t numbers[8];
        if (!source.read_at(at, entry.name.data(), length) || !source.read_at(at + length, numbers, 8)) {
            return false;
        }
        at += length + 8;
        entry.stored_offset = static_cast<int32_t>(get_u32(numbers));
        entry.offset = relative ? size + entry.stored_offset : entry.stored_offset;
        entry.stored_size = get_u32(numbers + 4);
        if (!is_safe_member_name(entry.name)) return false;
        if (entry.stored_size < 4 || entry.offset < 0 || entry.offset > end ||
            int64_t{entry.stored_size} > end - entry.offset) {
            return false;
        }
        entries.push_back(std::move(entry));
    }
}

bool read_member_length(const ArchiveSource& source, const ArchiveEntry& entry, uint32_t& length) {
    uint8_t field[4];
    if (entry.stored_size < 4 || !source.read_at(entry.offset, field, 4)) return false;
    length = get_u32(field);
    return true;
}

bool unpack_archive_member(const ArchiveSource& source, const ArchiveEntry& entry,
                           std::vector<uint8_t>& bytes) {
    bytes.clear();
    uint32_t unpacked = 0;
    if (!lzo_ready() || !read_member_length(source, entry, unpacked)) return false;
    const uint32_t packed_size = entry.stored_size - 4;
    if (!plausible_length(unpacked, packed_size)) return false;
    std::vector<uint8_t> packed(packed_size);
    if (!source.read_at(entry.offset + 4, packed.data(), packed_size)) return false;
    // At least one byte, so that even an empty member has its own block address.
    bytes.resize(unpacked == 0 ? 1 : unpacked);
    lzo_uint out_length = unpacked;
    const int result = lzo1x_decompress_safe(packed.data(), packed_size, bytes.data(), &out_length, nullptr);
    if (result != LZO_E_OK || out_length != unpacked) {
        bytes.clear();
        return false;
    }
    bytes.resize(unpacked);
    return true;
}

std::vector<uint8_t> pack_member(const std::vector<uint8_t>& bytes) {
    if (!lzo_ready()) throw std::bad_alloc();
    std::vector<uint8_t> work(LZO1X_1_MEM_COMPRESS);
    std::vector<uint8_t> out(4 + bytes.size() + bytes.size() / 16 + 64 + 3);
    lzo_uint packed = 0;
    lzo1x_1_compress(bytes.data(), bytes.size(), out.data() + 4, &packed, work.data());
    out.resize(4 + packed);
    const auto length = static_cast<uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i) out[static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (8 * i));
    return out;
}

std::vector<uint8_t> build_archive(const std::vector<ArchiveInput>& members, const PackedMemberReport& packed_report) {
    std::vector<uint8_t> out;
    std::vector<std::pair<int64_t, uint32_t>> placed;  // start, stored size
    for (const ArchiveInput& member : members) {
        const std::vector<uint8_t> packed = pack_member(member.bytes);
        placed.emplace_back(static_cast<int64_t>(out.size()), static_cast<uint32_t>(packed.size()));
        if (packed_report) packed_report(member, packed.size());
        out.insert(out.end(), packed.begin(), packed.end());
    }
    const int64_t directory_start = static_cast<int64_t>(out.size());
    int64_t directory_size = 1;
    for (const ArchiveInput& member : members) directory_size += 1 + static_cast<int64_t>(member.name.size()) + 8;
    const int64_t total = directory_start + directory_size + kArchiveTrailerSize;
    for (size_t i = 0; i < members.size(); ++i) {
        out.push_back(static_cast<uint8_t>(members[i].name.size()));
        out.insert(out.end(), members[i].name.begin(), members[i].name.end());
        put_u32(out, static_cast<uint32_t>(static_cast<int32_t>(placed[i].first - total)));
        put_u32(out, placed[i].second);
    }
    out.push_back(0);
    out.insert(out.end(), kArchiveMagic, kArchiveMagic + 3);
    put_u32(out, static_cast<uint32_t>(static_cast<int32_t>(directory_start - total)));
    return out;
}

}  // namespace tvk
