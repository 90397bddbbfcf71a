#pragma once
// The screens of the game. Each is a loop of frames: read the mouse, update the
// state, draw, flip_screen. The main loop moves between them by the screen state.

namespace tvk::game {

// The whole game: the state, the media and data files, the screens in turn,
// the farewell. Called by program_main.
void run_game();

// Options screen: runs while the screen state is 1.
void options_screen();
// Information page: a sub-loop of the options screen, left by its back button.
void information_page();
// The fading "GOODBYE", then the end of the program (returns only while the
// runtime is already stopping).
void farewell();

// One frame of the round selection screen.
void round_select_frame();

// Puzzle play: the round set-up, one frame of input, one frame of drawing, the
// loop that runs while the screen state is 3, and the banner of a won round.
// Each call of draw_play_screen is one frame of the assembly strip's shake.
void setup_round();
void play_input();
void draw_play_screen();
void play_loop();
void round_won_sequence();

}  // namespace tvk::game
