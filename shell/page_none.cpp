// The desktop: no screen reader can read the library's window, so what the
// screen means goes nowhere.
#include "shell/screen_meaning.h"
#include "shell/shell.h"

void tellScreen(const ScreenMeaning&) {}
void tellMenu(bool, char) {}

// The library's own thread keeps the window and reads the devices whatever
// the program's thread does.
void keepWindowAlive() {}
