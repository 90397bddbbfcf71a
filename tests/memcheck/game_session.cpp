// A whole SplitVerse session for the memory check: the game started through the
// runtime's real process entry, from the Media folder beside this program, played
// by the scripted player (the clock backend that posts the next input into the
// real event queue). It visits every screen — options, the information page, the
// sound switch, round selection, a round solved word by word with a wrong check
// and an undo on the way, the won-round banner, a round left by its back button,
// the reset — and closes the game, which ends through the farewell and the
// runtime's stop with status 0. A script that gets stuck ends with status 1.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "game/fragment_cuts.h"
#include "game/game_fixture.h"
#include "game/game_state.h"
#include "game/puzzle_file.h"
#include "runtime/core/entry.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/system_paths.h"
#include "runtime/value/text_cipher.h"

namespace {

using tvk::game::GameState;
using tvk::game::game_state;
using tvk::game_test::fragments_in_order;
using tvk::game_test::ScriptedPlayer;

// The seven answer words of round 1 in the puzzle file beside the program.
std::vector<std::string> round_one_words() {
    std::string folder = tvk::platform::executable_path();
    folder = folder.substr(0, folder.find_last_of('/') + 1);
    std::ifstream in(folder + "Media/" + tvk::game::kPuzzleFile, std::ios::binary);
    std::vector<std::string> words;
    std::string line;
    for (int n = 0; n < 8 && std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (n > 0) words.push_back(tvk::string_decrypt(tvk::game::kPuzzleKey, line.c_str()).c_str());
    }
    return words;
}

// The script's lambdas keep references to g and mark: both outlive the session,
// which ends the process from inside runtime_main.
void script_session(ScriptedPlayer& player, const std::vector<std::string>& words, GameState& g,
                    int64_t& mark) {
    auto wait_frames = [&player, &mark](const std::string& what, int64_t frames) {
        player.then(what, [&player, &mark] { mark = player.frames(); });
        player.wait_until(what, [&player, &mark, frames] { return player.frames() > mark + frames; });
    };

    player.wait_until("options screen", [&] {
        return g.progress.count > 0 && g.screen_state == 1 && player.frames() > 2;
    });
    player.click(25, 615, "information button");
    wait_frames("information page", 20);
    player.click(25, 25, "back from the information page");
    wait_frames("options screen after the information page", 3);
    player.click(455, 615, "sound off");
    player.wait_until("sound off", [&] { return g.sound_volume == 0; });
    player.click(455, 615, "sound on");
    player.wait_until("sound on", [&] { return g.sound_volume == 1; });

    player.click(150, 390, "play area");
    player.wait_until("round selection", [&] { return g.screen_state == 2; });
    player.click(60, 145, "round 1");
    player.wait_until("round 1 chosen", [&] { return g.screen_state == 3; });
    wait_frames("round 1 dealt", 2);

    // A wrong word (a word's ending before its opening) goes back; an undo too.
    const std::vector<std::string> first = fragments_in_order(words[0]);
    player.click_fragment(first.back());
    player.click_fragment(first.front());
    player.click(410, 600, "wrong check");
    player.click_fragment(first.front());
    player.click(60, 600, "undo");
    for (const std::string& word : words) {
        for (const std::string& f : fragments_in_order(word)) player.click_fragment(f);
        player.click(410, 600, "check " + word);
    }
    player.wait_until("round won", [&] { return g.screen_state == 5; });
    player.wait_until("round selection after the banner", [&] { return g.screen_state == 2; });

    player.click(150, 145, "round 2");
    player.wait_until("round 2 chosen", [&] { return g.screen_state == 3; });
    wait_frames("round 2 dealt", 2);
    player.click(25, 25, "back from round 2");
    player.wait_until("round selection again", [&] { return g.screen_state == 2; });
    player.click(25, 25, "back to the options screen");
    player.wait_until("options screen again", [&] { return g.screen_state == 1; });
    player.click(340, 370, "reset area");
    player.wait_until("round selection after the reset", [&] { return g.screen_state == 2; });
    player.press(455, 25, "close button");
    // The farewell fades out and ends the process from inside the game.
    player.wait_until("the farewell ends the program", [] { return false; });
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words = round_one_words();
    if (words.size() != 7) {
        std::fprintf(stderr, "no round 1 in the puzzle file beside the program\n");
        return 1;
    }
    ScriptedPlayer player;
    int64_t mark = 0;
    script_session(player, words, game_state(), mark);
    tvk::platform::set_clock_backend(&player);
    try {
        const int status = tvk::runtime_main(argc, argv);
        std::fprintf(stderr, "the game returned %d instead of ending through its farewell\n", status);
        return status == 0 ? 1 : status;
    } catch (const tvk::game_test::ScriptEnded&) {
        std::fprintf(stderr, "the session got stuck at: %s\n", player.stuck_at().c_str());
        return 1;
    }
}
