#include "runtime/native/command_line.h"

namespace tvk {

std::vector<std::string> split_command_line(const char* text) {
    std::vector<std::string> words;
    if (!text) return words;
    const char* p = text;
    for (;;) {
        while (*p == ' ' || *p == '\t') ++p;
        if (*p == 0) break;
        std::string word;
        bool quoted = false;
        while (*p != 0 && (quoted || (*p != ' ' && *p != '\t'))) {
            if (*p == '\\') {
                size_t backslashes = 0;
                while (*p == '\\') {
                    ++backslashes;
                    ++p;
                }
                if (*p == '"') {
                    word.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        word += '"';
                        ++p;
                    }
                } else {
                    word.append(backslashes, '\\');
                }
            } else if (*p == '"') {
                if (quoted && p[1] == '"') {
                    word += '"';
                    p += 2;
                } else {
                    quoted = !quoted;
                    ++p;
                }
            } else {
                word += *p++;
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace tvk
