// A library for programs to declare functions of.
extern "C" int tvk_sample_add(int a, int b) { return a + b; }

extern "C" int tvk_sample_answer() { return 42; }
