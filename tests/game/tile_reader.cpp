// Reads where the fragments lie in a running splitverse program, so that a script
// can play a round through the real window: given the program's process id and
// the address of its game state (from the symbol table, relocated by the script),
// prints for each answer word one line with the screen points of its tiles in the
// order that assembles the word.
// Usage: splitverse-tile-reader PID STATE_ADDRESS
#include <sys/uio.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game/fragment_cuts.h"
#include "game/game_state.h"

namespace {

pid_t target = 0;

bool read_remote(uint64_t address, void* into, size_t size) {
    iovec local{into, size};
    iovec remote{reinterpret_cast<void*>(address), size};
    return process_vm_readv(target, &local, 1, &remote, 1, 0) == static_cast<ssize_t>(size);
}

// Points the copied array at a local copy of the remote elements.
template <typename T>
bool localise(tvk::RtArray<T>& a, std::vector<T>& storage) {
    storage.resize(static_cast<size_t>(a.count));
    if (a.count > 0 && !read_remote(reinterpret_cast<uint64_t>(a.elements), storage.data(), sizeof(T) * storage.size()))
        return false;
    a.elements = storage.data();
    return true;
}

// Strings hold pointers into the other process: copy their bytes here.
bool localise_texts(tvk::StringArray& a, std::vector<tvk::RtString>& storage, std::vector<std::string>& texts) {
    std::vector<char> raw(sizeof(tvk::RtString) * static_cast<size_t>(a.count));
    if (a.count > 0 && !read_remote(reinterpret_cast<uint64_t>(a.elements), raw.data(), raw.size())) return false;
    texts.assign(static_cast<size_t>(a.count), "");
    for (int32_t i = 0; i < a.count; ++i) {
        const char* at = raw.data() + sizeof(tvk::RtString) * static_cast<size_t>(i);
        char* data = nullptr;
        uint32_t length = 0;
        std::memcpy(&data, at + offsetof(tvk::RtString, data), sizeof data);
        std::memcpy(&length, at + offsetof(tvk::RtString, length), sizeof length);
        std::string text(length, '\0');
        if (length > 0 && !read_remote(reinterpret_cast<uint64_t>(data), text.data(), length)) return false;
        texts[static_cast<size_t>(i)] = text;
    }
    storage.clear();
    for (const std::string& t : texts) storage.emplace_back(t.c_str());
    a.elements = storage.data();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: splitverse-tile-reader PID STATE_ADDRESS\n", stderr);
        return 2;
    }
    target = static_cast<pid_t>(std::atoi(argv[1]));
    const uint64_t address = std::strtoull(argv[2], nullptr, 0);

    // A byte copy of the remote state that is never destroyed: its arrays are
    // pointed at local copies before use.
    alignas(tvk::game::GameState) static unsigned char bytes[sizeof(tvk::game::GameState)];
    if (!read_remote(address, bytes, sizeof bytes)) {
        std::perror("reading the game state");
        return 1;
    }
    auto& g = *reinterpret_cast<tvk::game::GameState*>(bytes);
    std::vector<tvk::RtString> tiles, words;
    std::vector<std::string> tile_texts, word_texts;
    std::vector<double> positions;
    if (!localise_texts(g.tiles, tiles, tile_texts) || !localise_texts(g.answer_words, words, word_texts) ||
        !localise(g.tile_positions, positions)) {
        std::perror("reading the tiles");
        return 1;
    }
    bool taken[21] = {};  // a fragment can lie on two tiles: each tile is picked once
    for (int32_t w = 1; w <= 7; ++w) {
        tvk::RtString pieces[4];
        const int32_t n = tvk::game::cut_word(g.answer_words(w), pieces);
        if (n == 0) {
            std::fprintf(stderr, "word %d is not a word: \"%s\"\n", w, g.answer_words(w).c_str());
            return 1;
        }
        // Reading order: the opening, the middle pieces, the ending.
        std::vector<tvk::RtString> order{pieces[0]};
        for (int32_t i = 2; i < n; ++i) order.push_back(pieces[i]);
        order.push_back(pieces[1]);
        std::string line = g.answer_words(w).c_str();
        for (const tvk::RtString& piece : order) {
            int32_t tile = 0;
            for (int32_t i = 1; i <= 20 && tile == 0; ++i) {
                if (!taken[i] && std::strcmp(g.tiles(i).c_str(), piece.c_str()) == 0) tile = i;
            }
            if (tile == 0) {
                std::fprintf(stderr, "no tile holds \"%s\"\n", piece.c_str());
                return 1;
            }
            taken[tile] = true;
            line += " " + std::to_string(static_cast<int>(g.tile_positions(tile, 1)) + 40) + " " +
                    std::to_string(static_cast<int>(g.tile_positions(tile, 2)) + 20);
        }
        std::printf("%s\n", line.c_str());
    }
    return 0;
}
