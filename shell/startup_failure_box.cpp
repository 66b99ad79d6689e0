#include <allegro.h>

#include "shell/startup_failure.h"

// In U_ASCII each byte is the character of the same number, which is
// Latin-1: the library's box shows the letters as they are.
void tellStartupFailure(const char* latin1) { allegro_message("%s\n", latin1); }

// With no system driver the library's message goes to its own fallback.
void tellWithoutLibrary(const char* latin1) { allegro_message("%s\n", latin1); }
