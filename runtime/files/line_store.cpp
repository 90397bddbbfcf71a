#include "runtime/files/line_store.h"

#include <array>
#include <string>

#include "runtime/files/file_record.h"
#include "runtime/files/media_archive.h"
#include "runtime/value/error_state.h"
#include "runtime/value/number_text.h"

namespace tvk {

namespace {

constexpr int32_t kSlotBytes = 1024;

struct LineStore {
    std::string file;
    std::array<std::string, kLineStoreLines> lines;
    int32_t top = 0;       // highest line index written or read from the file
    bool changed = false;
    bool missing = false;  // the file could not be read and nothing was written since
};

LineStore& line_store() {
    static LineStore store;
    return store;
}

void write_back(LineStore& store) {
    if (!store.changed || store.file.empty()) return;
    FileRecord record;
    if (file_open_write(record, store.file.c_str())) {
        for (int32_t i = 0; i <= store.top; ++i) {
            const std::string& line = store.lines[static_cast<size_t>(i)];
            file_write(record, line.data(), static_cast<int64_t>(line.size()));
            file_write(record, "\r\n", 2);
        }
        file_close(record);
    }
    store.changed = false;
}

void load(LineStore& store) {
    std::string resolved;
    resolve_media_path(media_archives().memory_files, store.file.c_str(), resolved, true);
    FileRecord record;
    if (!file_open_read(record, resolved.empty() ? store.file.c_str() : resolved.c_str())) {
        store.missing = true;
        set_error(kErrNoSuchFile);
        return;
    }
    char line[kSlotBytes];
    for (int32_t i = 0; i < kLineStoreLines; ++i) {
        int32_t length = 0;
        if (read_text_line(record, line, kSlotBytes - 1, &length) != LineRead::kLine) break;
        store.lines[static_cast<size_t>(i)].assign(line, static_cast<size_t>(length));
        store.top = i;
    }
    file_close(record);
}

// Makes file the current one; the previous file is written back first when changed.
LineStore& select(const RtString& file) {
    LineStore& store = line_store();
    if (store.file == file.c_str()) return store;
    write_back(store);
    for (std::string& line : store.lines) line.clear();
    store.top = 0;
    store.changed = false;
    store.missing = false;
    store.file = file.c_str();
    load(store);
    return store;
}

}  // namespace

RtString line_store_read(const RtString& file, int32_t index) {
    if (index < 0 || index >= kLineStoreLines) {
        set_error(kErrOutOfMemory);
        return RtString("NO_DATA");
    }
    LineStore& store = select(file);
    if (store.missing) {
        set_error(kErrNoSuchFile);
        return RtString("NO_FILE");
    }
    std::string text = store.lines[static_cast<size_t>(index)];
    while (!text.empty() && static_cast<unsigned char>(text.back()) < 32) text.pop_back();
    return RtString(text.c_str());
}

double line_store_read_float(const RtString& file, int32_t index) {
    return text_to_float(line_store_read(file, index));
}

int32_t line_store_read_int(const RtString& file, int32_t index) {
    return text_to_int(line_store_read(file, index));
}

int32_t line_store_write(const RtString& file, int32_t index, const RtString& text) {
    if (index < 0 || index >= kLineStoreLines) {
        set_error(kErrOutOfMemory);
        return kErrOutOfMemory;
    }
    LineStore& store = select(file);
    std::string& line = store.lines[static_cast<size_t>(index)];
    line.assign(text.data, text.length < kSlotBytes - 1 ? text.length : kSlotBytes - 1);
    if (index > store.top) store.top = index;
    store.changed = true;
    store.missing = false;
    return 0;
}

int32_t line_store_write(const RtString& file, int32_t index, double value) {
    return line_store_write(file, index, float_to_text(value));
}

void write_back_line_store() { write_back(line_store()); }

}  // namespace tvk
