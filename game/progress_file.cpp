#include "game/progress_file.h"

#include <cstdint>
#include <vector>

#include "game/game_state.h"
#include "runtime/files/channels.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/platform/files.h"
#include "runtime/platform/system_info.h"
#include "runtime/platform/system_ui.h"
#include "runtime/value/error_state.h"

namespace tvk::game {

namespace {

constexpr int32_t kChannel = 1;

// This copy's progress array as it last loaded or saved it: the rounds a reset
// here has cleared since are the ones in it that the array no longer shows.
Progress& progress_on_record() {
    static Progress record{};
    return record;
}

Progress shown_progress() {
    GameState& g = game_state();
    Progress progress{};
    for (int32_t i = 0; i < kProgressDigits; ++i) progress[i] = g.progress(i);
    return progress;
}

// The file's first line read as progress; a missing or empty file reads as an
// empty line, so as no round completed.
Progress read_progress(const std::string& path) {
    RtString line;
    if (channel_open(kChannel, path.c_str(), 1) != 0) {
        if (channel_at_end(kChannel) == 0) line = channel_read_line(kChannel);
        channel_close(kChannel);
    }
    return progress_from_line(std::string(line.data, line.length));
}

// The folder a progress path is in, absolute, as the player is told it.
std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return platform::current_folder();
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string open_failure(platform::FileError error) {
    switch (error) {
        case platform::FileError::kDenied: return "permission denied";
        case platform::FileError::kMissing: return "the folder does not exist";
        default: return "the folder cannot be written";
    }
}

// Saves this copy's progress into target, merged with what the file holds, under
// the lock of the lock file beside it. "" when saved, else why not.
std::string save_into(const std::string& target) {
    platform::FileError error = platform::FileError::kNone;
    platform::File* lock = platform::open_file(
        target + ".lock",
        {.access = platform::FileAccess::kReadWrite, .creation = platform::FileCreation::kOpenOrCreate},
        &error);
    if (!lock) return open_failure(error);
    std::string reason;
    if (platform::lock_file_exclusive(lock, true)) {
        // Moving to the data folder for the first time, the progress that is there
        // so far is the Media folder's.
        const std::string on_disk_path =
            platform::path_kind(target) == platform::PathKind::kFile ? target : kProgressFile;
        const Progress shown = shown_progress();
        const Progress merged = merged_progress(shown, progress_on_record(), read_progress(on_disk_path));
        const std::string bytes = progress_line(merged) + "\r\n";
        if (platform::replace_file_durably(target, bytes.data(), static_cast<int64_t>(bytes.size()))) {
            progress_on_record() = shown;
        } else {
            reason = platform::free_disk_space(folder_of(target)) == 0 ? "the disk is full"
                                                                        : "the file could not be written";
        }
        platform::unlock_file(lock);
    } else {
        reason = "the file could not be locked";
    }
    platform::close_file(lock);
    return reason;
}

// A folder the save tried, absolute, and why it could not take the file.
struct SaveAttempt {
    std::string folder;
    std::string reason;
};

std::string save_failure_text(const std::vector<SaveAttempt>& attempts) {
    std::string text = "SplitVerse could not save your progress";
    for (size_t i = 0; i < attempts.size(); ++i) {
        text += i == 0 ? " in " : " or in ";
        text += attempts[i].folder + " (" + attempts[i].reason + ")";
    }
    return text + ". The game will now close.";
}

void tell_player(const std::string& text) {
    print_err((text + "\n").c_str());
    const OpenGLRainbows* device = graphics_device();
    platform::show_message_box(device ? device->display.window : nullptr, "SplitVerse", text.c_str(), true);
}

}  // namespace

std::string progress_data_folder() {
    const std::string data = platform::application_data_folder();
    return data.empty() ? std::string() : data + "/SplitVerse";
}

std::string progress_file_path() {
    const std::string folder = progress_data_folder();
    if (!folder.empty()) {
        const std::string in_data_folder = folder + "/" + kProgressFile;
        if (platform::path_kind(in_data_folder) == platform::PathKind::kFile) return in_data_folder;
    }
    return kProgressFile;
}

void load_progress() {
    GameState& g = game_state();
    const Progress progress = read_progress(progress_file_path());
    for (int32_t i = 0; i < kProgressDigits; ++i) g.progress(i) = progress[i];
    progress_on_record() = progress;
}

Progress merged_progress(const Progress& shown, const Progress& on_record, const Progress& on_disk) {
    Progress merged{};
    for (size_t r = 1; r < merged.size(); ++r) {
        if (shown[r] != 0) {
            merged[r] = shown[r];
        } else if (on_record[r] != 0) {
            merged[r] = 0;
        } else {
            merged[r] = on_disk[r];
        }
    }
    return merged;
}

void save_progress() {
    std::vector<SaveAttempt> attempts;
    const std::string target = progress_file_path();
    std::string reason = save_into(target);
    if (reason.empty()) return;
    attempts.push_back({folder_of(target), reason});
    // The Media folder cannot take it: keep the progress in the data folder.
    const std::string folder = progress_data_folder();
    if (!folder.empty() && target == kProgressFile) {
        reason = platform::make_folders(folder) ? save_into(folder + "/" + kProgressFile)
                                                : "the folder could not be made";
        if (reason.empty()) return;
        attempts.push_back({folder, reason});
    }
    // Nowhere to keep it: the player hears why before the program stops as a file
    // write that failed stops it.
    tell_player(save_failure_text(attempts));
    set_error(kErrNoSuchFile);
    runtime_stop();
}

}  // namespace tvk::game
