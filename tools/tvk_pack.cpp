// tvk-pack: builds media archives and appends them to executables, so that a program
// built on the runtime ships as one file and finds its media inside itself.
//
//   tvk-pack create ARCHIVE FILE...           writes an archive of the files
//   tvk-pack append [-o OUTPUT] EXECUTABLE FILE...
//                                              writes a copy of the executable with an
//                                              archive of the files appended (OUTPUT
//                                              defaults to EXECUTABLE-packed)
//   tvk-pack list ARCHIVE                      lists the members
//   tvk-pack extract ARCHIVE DIR               unpacks every member into DIR
//
// Members are stored under their bare file names; lookups ignore case and folders.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "runtime/files/archive_format.h"

namespace {

namespace fs = std::filesystem;
using tvk::ArchiveEntry;
using tvk::ArchiveInput;
using tvk::ArchiveSource;

constexpr int64_t kLargestArchive = INT32_MAX;  // offsets are signed 32-bit

int usage() {
    std::fputs(
        "usage: tvk-pack create ARCHIVE FILE...\n"
        "       tvk-pack append [-o OUTPUT] EXECUTABLE FILE...\n"
        "       tvk-pack list ARCHIVE\n"
        "       tvk-pack extract ARCHIVE DIR\n",
        stderr);
    return 2;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "tvk-pack: %s\n", message.c_str());
    return 1;
}

bool read_whole_file(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool write_whole_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Reads the files to pack; false (after saying why) for anything unusable.
bool gather_members(const std::vector<std::string>& files, std::vector<ArchiveInput>& members, std::string& error) {
    std::set<std::string> seen;
    for (const std::string& file : files) {
        std::error_code ec;
        if (!fs::is_regular_file(file, ec)) {
            error = file + ": not a regular file";
            return false;
        }
        ArchiveInput member;
        member.name = fs::path(file).filename().string();
        if (member.name.size() > 255 || !tvk::is_safe_member_name(member.name) ||
            member.name.find('\\') != std::string::npos) {
            error = file + ": the file name cannot be stored (at most 255 bytes, no '\\')";
            return false;
        }
        if (!seen.insert(lower(member.name)).second) {
            error = file + ": another file is already stored as " + member.name + " (names ignore case)";
            return false;
        }
        if (!read_whole_file(file, member.bytes)) {
            error = file + ": cannot be read";
            return false;
        }
        if (member.bytes.size() > UINT32_MAX) {
            error = file + ": too large for an archive";
            return false;
        }
        members.push_back(std::move(member));
    }
    return true;
}

// Packs the members, printing one line per member.
bool pack(const std::vector<ArchiveInput>& members, std::vector<uint8_t>& archive, std::string& error) {
    archive = tvk::build_archive(members, [](const ArchiveInput& member, size_t stored) {
        std::printf("packed %s: %zu -> %zu bytes\n", member.name.c_str(), member.bytes.size(), stored);
    });
    if (static_cast<int64_t>(archive.size()) > kLargestArchive) {
        error = "the archive would exceed 2 GiB";
        return false;
    }
    return true;
}

bool open_archive(const std::string& path, ArchiveSource& source, std::vector<ArchiveEntry>& entries,
                  std::string& error) {
    if (!source.open(path.c_str())) {
        error = path + ": cannot be opened";
        return false;
    }
    if (!tvk::read_archive_directory(source, entries)) {
        error = path + ": no valid media archive";
        return false;
    }
    return true;
}

int create(const std::string& archive_path, const std::vector<std::string>& files) {
    std::vector<ArchiveInput> members;
    std::vector<uint8_t> archive;
    std::string error;
    if (!gather_members(files, members, error) || !pack(members, archive, error)) return fail(error);
    if (!write_whole_file(archive_path, archive)) return fail(archive_path + ": cannot be written");
    std::printf("wrote %s: %zu members, %zu bytes\n", archive_path.c_str(), members.size(), archive.size());
    return 0;
}

int append(const std::string& executable, const std::string& output, const std::vector<std::string>& files) {
    std::vector<uint8_t> program;
    if (!fs::is_regular_file(executable) || !read_whole_file(executable, program)) {
        return fail(executable + ": cannot be read");
    }
    {
        ArchiveSource source;
        std::vector<ArchiveEntry> entries;
        std::string ignored;
        if (open_archive(executable, source, entries, ignored)) {
            return fail(executable + ": already carries a media archive");
        }
    }
    std::vector<ArchiveInput> members;
    std::vector<uint8_t> archive;
    std::string error;
    if (!gather_members(files, members, error) || !pack(members, archive, error)) return fail(error);
    program.insert(program.end(), archive.begin(), archive.end());
    if (fs::exists(output) && fs::equivalent(output, executable)) {
        return fail("the output must not be the executable itself");
    }
    if (!write_whole_file(output, program)) return fail(output + ": cannot be written");
    // The packed program runs as the program did: the same permission bits.
    std::error_code ec;
    fs::permissions(output, fs::status(executable, ec).permissions(), ec);
    std::printf("wrote %s: %zu members appended, %zu bytes\n", output.c_str(), members.size(), program.size());
    return 0;
}

int list(const std::string& archive_path) {
    ArchiveSource source;
    std::vector<ArchiveEntry> entries;
    std::string error;
    if (!open_archive(archive_path, source, entries, error)) return fail(error);
    for (const ArchiveEntry& entry : entries) {
        uint32_t length = 0;
        if (!tvk::read_member_length(source, entry, length)) return fail(entry.name + ": cannot be read");
        std::printf("%10u %10u  %s\n", length, entry.stored_size, entry.name.c_str());
    }
    return 0;
}

int extract(const std::string& archive_path, const std::string& directory) {
    ArchiveSource source;
    std::vector<ArchiveEntry> entries;
    std::string error;
    if (!open_archive(archive_path, source, entries, error)) return fail(error);
    std::error_code ec;
    fs::create_directories(directory, ec);
    if (!fs::is_directory(directory)) return fail(directory + ": cannot be made a folder");
    for (const ArchiveEntry& entry : entries) {
        std::vector<uint8_t> bytes;
        if (!tvk::unpack_archive_member(source, entry, bytes)) return fail(entry.name + ": corrupt member");
        // Member names were checked to be bare file names when the directory was read.
        const std::string target = (fs::path(directory) / entry.name).string();
        if (fs::is_symlink(target)) fs::remove(target);
        if (!write_whole_file(target, bytes)) return fail(target + ": cannot be written");
        std::printf("extracted %s: %zu bytes\n", entry.name.c_str(), bytes.size());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    const std::string command = args[0];
    args.erase(args.begin());
    try {
        if (command == "create" && args.size() >= 2) {
            return create(args[0], {args.begin() + 1, args.end()});
        }
        if (command == "append") {
            std::string output;
            if (args.size() >= 2 && args[0] == "-o") {
                output = args[1];
                args.erase(args.begin(), args.begin() + 2);
            }
            if (args.size() < 2) return usage();
            if (output.empty()) output = args[0] + "-packed";
            return append(args[0], output, {args.begin() + 1, args.end()});
        }
        if (command == "list" && args.size() == 1) return list(args[0]);
        if (command == "extract" && args.size() == 2) return extract(args[0], args[1]);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    return usage();
}
