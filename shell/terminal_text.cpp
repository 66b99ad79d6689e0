#include "shell/terminal_text.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

#include <cstdio>

namespace {

// The base letters of Latin-1 0xC0..0xFF: what a plain ASCII terminal gets
// for a letter with marks. Estonian stays readable that way ("naidata",
// "onnestunud"), where "?" or a stray byte would not. "x" and "/" stand for
// the multiplication and division signs, "?" for letters with no base.
const char kBaseLetters[] =
    "AAAAAAACEEEEIIII"
    "DNOOOOOxOUUUUY?s"
    "aaaaaaaceeeeiiii"
    "dnooooo/ouuuuy?y";

char asciiFallback(unsigned char c) {
    if (c < 0x80) return static_cast<char>(c);
    if (c >= 0xC0) return kBaseLetters[c - 0xC0];
    return '?';
}

// The codeset of the user's LC_CTYPE, found without changing the process's
// own locale, which stays "C" for the library and the screen texts.
std::string userCodeset() {
    locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0)) return "ANSI_X3.4-1968";
    std::string codeset = nl_langinfo_l(CODESET, user);
    freelocale(user);
    return codeset;
}

}  // namespace

std::string inLocaleCharset(const std::string& latin1) {
    iconv_t cd = iconv_open(userCodeset().c_str(), "ISO-8859-1");
    if (cd == reinterpret_cast<iconv_t>(-1)) return latin1;
    std::string out;
    // One character at a time, so that one the codeset lacks is replaced
    // alone and the rest still convert.
    for (char c : latin1) {
        char in[1] = {c};
        char buffer[8];
        char* inPtr = in;
        char* outPtr = buffer;
        size_t inLeft = 1, outLeft = sizeof buffer;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            out += asciiFallback(static_cast<unsigned char>(c));
        } else {
            out.append(buffer, outPtr);
        }
    }
    iconv_close(cd);
    return out;
}

void sayOnTerminal(const char* latin1) {
    std::fputs((inLocaleCharset(latin1) + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void convertingStdout(const std::function<void()>& show) {
    std::fflush(stdout);
    FILE* caught = std::tmpfile();
    int saved = caught ? dup(STDOUT_FILENO) : -1;
    if (saved < 0 || dup2(fileno(caught), STDOUT_FILENO) < 0) {
        if (saved >= 0) close(saved);
        if (caught) std::fclose(caught);
        show();
        return;
    }
    show();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);

    std::string text;
    std::rewind(caught);
    char chunk[512];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, caught)) > 0) text.append(chunk, n);
    std::fclose(caught);
    if (!text.empty()) {
        std::fputs(inLocaleCharset(text).c_str(), stdout);
        std::fflush(stdout);
    }
}
