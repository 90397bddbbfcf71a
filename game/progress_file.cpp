#include "game/progress_file.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "game/game_state.h"
#include "runtime/files/channels.h"
#include "runtime/platform/files.h"
#include "runtime/platform/system_info.h"

namespace tvk::game {

namespace {

constexpr int32_t kChannel = 1;

bool has_file(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// Asks the system to put the file's bytes on the disk; false when it says it could
// not (a disk that filled up or failed after the write was taken).
bool flush_to_disk(const std::string& path) {
    platform::File* file = platform::open_file(path, {.access = platform::FileAccess::kWrite});
    if (!file) return false;
    const bool flushed = platform::flush_file(file);
    return platform::close_file(file) && flushed;
}

// Writes the line to target by way of the file beside it; false when the folder
// cannot take it.
bool replace_progress_file(const std::string& target, const RtString& line) {
    return write_progress_beside(target, line) && replace_with_written(target);
}

}  // namespace

std::string progress_data_folder() {
    const std::string data = platform::application_data_folder();
    return data.empty() ? "" : data + "/SplitVerse";
}

std::string progress_file_path() {
    const std::string folder = progress_data_folder();
    if (!folder.empty()) {
        const std::string in_data_folder = folder + "/" + kProgressFile;
        if (has_file(in_data_folder)) return in_data_folder;
    }
    return kProgressFile;
}

void load_progress() {
    GameState& g = game_state();
    RtString line;
    if (channel_open(kChannel, progress_file_path().c_str(), 1) != 0) {
        // An empty file reads as an empty line, as a missing one does.
        if (channel_at_end(kChannel) == 0) line = channel_read_line(kChannel);
        channel_close(kChannel);
    }
    const auto progress = progress_from_line(std::string(line.data, line.length));
    for (int32_t i = 0; i < kProgressDigits; ++i) g.progress(i) = progress[i];
}

RtString progress_line() {
    GameState& g = game_state();
    std::array<double, kProgressDigits> progress{};
    for (int32_t i = 0; i < kProgressDigits; ++i) progress[i] = g.progress(i);
    // An enciphered line is hex digits only, so c_str() holds all of it.
    return game::progress_line(progress).c_str();
}

bool write_progress_beside(const std::string& target, const RtString& line) {
    const std::string written = target + ".new";
    if (channel_open(kChannel, written.c_str(), 0) == 0) return false;
    channel_write_line(kChannel, line);
    channel_close(kChannel);
    // A line the disk did not keep must not replace the progress that is there.
    if (flush_to_disk(written)) return true;
    std::error_code ec;
    std::filesystem::remove(written, ec);
    return false;
}

bool replace_with_written(const std::string& target) { return platform::replace_file(target + ".new", target); }

void save_progress() {
    const RtString line = progress_line();
    const std::string target = progress_file_path();
    if (replace_progress_file(target, line)) return;
    // The Media folder cannot be written: keep the progress in the data folder.
    const std::string folder = progress_data_folder();
    if (!folder.empty() && target == kProgressFile) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (replace_progress_file(folder + "/" + kProgressFile, line)) return;
    }
    // Nowhere to write: the write on the unopened channel stops the program with
    // the runtime's error report.
    channel_open(kChannel, target.c_str(), 0);
    channel_write_line(kChannel, line);
}

}  // namespace tvk::game
