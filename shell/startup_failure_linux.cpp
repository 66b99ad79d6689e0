#include <allegro.h>

#include "shell/startup_failure.h"
#include "shell/terminal_text.h"

void tellStartupFailure(const char* latin1) {
    // The library prints the message itself, as Latin-1 bytes, when it
    // cannot show its box or the box is closed other than with OK.
    convertingStdout([latin1] { allegro_message("%s\n", latin1); });
}

// Without a system driver even allegro_message is unsafe; say it the way
// the library would without a display.
void tellWithoutLibrary(const char* latin1) { sayOnTerminal(latin1); }
