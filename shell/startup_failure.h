#pragma once
// How a program that cannot start tells the user why. This is where the
// systems differ: on Linux the library's box may fall back to the terminal,
// whose character set is the user's; on Windows and in the browser the
// library's own message box is the message.

// The library is running: shows `latin1` the library's way.
void tellStartupFailure(const char* latin1);

// The library could not start (no system driver), so it shows nothing
// itself: `latin1` goes where this system's user will see it.
void tellWithoutLibrary(const char* latin1);
