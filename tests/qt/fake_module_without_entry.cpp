// A library that is no module: it lacks the entry the host looks for.
extern "C" int NotTheEntry() { return 1; }
