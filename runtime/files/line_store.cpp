#include "runtime/files/line_store.h"

#include <array>
#include <string>

#include "runtime/files/file_record.h"
#include "runtime/files/media_archive.h"
#include "runtime/files/whole_file_write.h"
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

// The file is replaced whole, so a disk that is full when the store is written
// back keeps the lines that were there rather than an emptied file.
void write_back(LineStore& store) {
    if (!store.changed || store.file.empty()) return;
    std::string text;
    for (int32_t i = 0; i <= store.top; ++i) {
        text += store.lines[static_cast<size_t>(i)];
        text += "\r\n";
    }
    write_file_whole(store.file, text);
    store.changed = false;
}

// A line cut at the slot's size can stop right before its line end when it is
// exactly that long (as every line the store writes may be): that line end belongs to
// it and is skipped, or it would read back as an extra empty line that moves every
// later one. A line end the reader already took (the byte before the position) stays
// taken, and a longer line still goes on as the next one.
void skip_line_end(FileRecord& record) {
    const int64_t at = record.position;
    if (at < 1 || at >= record.size) return;
    char bytes[3] = {};  // the last byte read, then the next two
    const int64_t n = record.size - at < 2 ? 2 : 3;
    file_seek(record, at - 1, 0);
    file_read(record, bytes, n);
    int64_t used = 0;
    if (bytes[0] != '\n') {
        if (bytes[1] == '\n') used = 1;
        else if (n == 3 && bytes[1] == '\r' && bytes[2] == '\n') used = 2;
    }
    file_seek(record, at + used, 0);
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
        if (length == kSlotBytes - 1) skip_line_end(record);
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
    // The text ends at a zero byte inside the line, and its trailing control bytes are
    // trimmed from there: trimming the whole line first would leave those before the zero.
    std::string text = store.lines[static_cast<size_t>(index)].c_str();
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
