#pragma once
// Texts for the terminal. The programs' texts are Latin-1 bytes, which is
// what the font wants; a terminal wants the character set of the user's
// locale.

#include <functional>
#include <string>

// `latin1` in the character set of the user's locale (LC_ALL, LC_CTYPE,
// LANG). A letter the set lacks loses its marks ("ä" becomes "a"), and any
// other such character becomes "?"; where the set is unknown to iconv the
// bytes are passed on as they are.
std::string inLocaleCharset(const std::string& latin1);

// Writes `latin1` and a newline to standard output, converted.
void sayOnTerminal(const char* latin1);

// Runs `show`, catching what it writes to standard output (the library
// prints its messages there when it cannot show a box), and passes that on
// converted.
void convertingStdout(const std::function<void()>& show);
