#include "runtime/files/media_archive.h"

#include <strings.h>

#include <vector>

#include "runtime/files/archive_format.h"
#include "runtime/files/path_names.h"
#include "runtime/platform/files.h"
#include "runtime/platform/system_paths.h"

namespace tvk {

namespace {

void release_state(MediaArchiveState& state) {
    state.block.reset();
    if (!state.temp_file.empty()) remove_file_or_directory(state.temp_file);
    state.temp_file.clear();
}

bool regular_file_exists(const std::string& path) {
    const platform::PathKind kind = platform::path_kind(path);
    return kind != platform::PathKind::kMissing && kind != platform::PathKind::kFolder;
}

std::string wanted_member_name(const char* name) {
    const std::string text = name;
    const size_t cut = text.find_last_of("/\\");
    return cut == std::string::npos ? text : text.substr(cut + 1);
}

// Writes the unpacked member into the temporary folder under a name that cannot
// leave it (member names are bare file names, checked when the directory was read),
// never through a link planted under that name.
bool write_temporary_member(const ArchiveEntry& entry, const std::vector<uint8_t>& bytes, std::string& path) {
    const char letter1 = static_cast<char>('A' + (static_cast<uint8_t>(entry.stored_offset) % 26));
    const char letter2 = static_cast<char>('A' + (static_cast<uint8_t>(entry.stored_size) % 26));
    path = platform::temp_folder() + "sbx" + letter1 + letter2 + entry.name;
    remove_file_or_directory(path);
    platform::File* file = platform::open_file(
        path, {.access = platform::FileAccess::kWrite, .creation = platform::FileCreation::kCreateNew});
    if (!file) return false;
    const bool written = platform::write_file(file, bytes.data(), static_cast<int64_t>(bytes.size()));
    platform::close_file(file);
    if (!written) {
        platform::remove_file(path);
        return false;
    }
    return true;
}

}  // namespace

MediaArchives& media_archives() {
    static MediaArchives archives;
    return archives;
}

bool resolve_media_path(MediaArchiveState& state, const char* name, std::string& result, bool want_memory) {
    release_state(state);
    result.clear();
    if (!name || !*name) return false;
    result = name;
    if (is_memory_file_name(name)) return find_memory_file(name) != nullptr;
    if (regular_file_exists(system_path(name))) return true;
    if (state.enabled == 0 || state.archive_path.empty()) return false;

    ArchiveSource source;
    std::vector<ArchiveEntry> entries;
    if (!source.open(state.archive_path.c_str()) || !read_archive_directory(source, entries)) return false;
    const std::string wanted = wanted_member_name(name);
    const ArchiveEntry* found = nullptr;
    for (const ArchiveEntry& entry : entries) {
        if (strcasecmp(entry.name.c_str(), wanted.c_str()) == 0) {
            found = &entry;
            break;
        }
    }
    std::vector<uint8_t> bytes;
    if (!found || !unpack_archive_member(source, *found, bytes)) return false;

    if (want_memory) {
        state.block = make_memory_block(std::move(bytes));
        result = memory_file_name(state.block);
        return true;
    }
    std::string path;
    if (!write_temporary_member(*found, bytes, path)) return false;
    state.temp_file = path;
    result = path;
    return true;
}

void set_media_archives(const char* memory_files_archive, const char* temporary_files_archive) {
    MediaArchives& archives = media_archives();
    const char* paths[2] = {memory_files_archive, temporary_files_archive};
    MediaArchiveState* states[2] = {&archives.memory_files, &archives.temporary_files};
    for (int i = 0; i < 2; ++i) {
        states[i]->enabled = 1;
        release_state(*states[i]);
        states[i]->archive_path = paths[i] ? paths[i] : "";
    }
}

void release_media_archives() {
    release_state(media_archives().memory_files);
    release_state(media_archives().temporary_files);
}

}  // namespace tvk
