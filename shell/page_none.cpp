// The desktop: no screen reader can read the library's window, so what the
// screen means goes nowhere.
#include "shell/screen_meaning.h"

void tellScreen(const ScreenMeaning&) {}
void tellMenu(bool) {}
