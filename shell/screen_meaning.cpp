#include "shell/screen_meaning.h"

#include <cstdarg>
#include <cstdio>

namespace {

// Appends to a fixed buffer; a text that does not fit is cut, and the
// writer reports the length it would have had, as snprintf does.
struct Writer {
    char* out;
    int size;
    int length = 0;

    void add(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list args;
        va_start(args, format);
        const int room = length < size ? size - length : 0;
        const int n = std::vsnprintf(room > 0 ? out + length : nullptr, room, format, args);
        va_end(args);
        if (n > 0) length += n;
    }
    // A JSON string; the texts are Latin-1 and the page reads them so.
    void text(const char* s) {
        add("\"");
        for (; *s != '\0'; ++s) {
            const unsigned char c = static_cast<unsigned char>(*s);
            if (c == '"' || c == '\\') {
                add("\\%c", c);
            } else if (c < 0x20) {
                add("\\u%04x", c);
            } else {
                add("%c", c);
            }
        }
        add("\"");
    }
};

// Button labels without the library's "&" before the shortcut letter.
void label(Writer& w, const char* withShortcut) {
    char plain[32];
    int n = 0;
    for (const char* s = withShortcut; *s != '\0' && n < int(sizeof plain) - 1; ++s) {
        if (*s != '&') plain[n++] = *s;
    }
    plain[n] = '\0';
    w.text(plain);
}

// A key's letter as a one-letter string, "" for none.
void offerText(Writer& w, char offer) {
    const char letter[2] = {offer, '\0'};
    w.text(letter);
}

}  // namespace

int screenMeaningJson(const ScreenMeaning& m, char* out, int size) {
    Writer w{out, size};
    w.add("{\"kind\":\"screen\",\"status\":");
    w.text(m.status);
    w.add(",\"hint\":");
    w.text(m.hint);
    w.add(",\"offer\":");
    offerText(w, m.offer);
    w.add(",\"cols\":%d,\"rows\":%d,\"cursor\":%d,\"cells\":[", m.cols, m.rows, m.cursor);
    for (int i = 0; i < m.cols * m.rows && i < kMaxMeaningCells; ++i) {
        const CellMeaning& c = m.cells[i];
        w.add(i == 0 ? "{\"name\":" : ",{\"name\":");
        w.text(c.name);
        w.add(",\"left\":%d,\"top\":%d,\"right\":%d,\"bottom\":%d,\"x\":%d,\"y\":%d}", c.left,
              c.top, c.right, c.bottom, c.x, c.y);
    }
    w.add("]}");
    return w.length;
}

int menuMeaningJson(bool up, char offer, const MenuButtonPlace* buttons, int count, char* out,
                    int size) {
    Writer w{out, size};
    w.add("{\"kind\":\"menu\",\"up\":%s,\"offer\":", up ? "true" : "false");
    offerText(w, up ? offer : 0);
    w.add(",\"buttons\":[");
    for (int i = 0; i < count; ++i) {
        const MenuButtonPlace& b = buttons[i];
        w.add(i == 0 ? "{\"name\":" : ",{\"name\":");
        label(w, b.label);
        w.add(",\"left\":%d,\"top\":%d,\"right\":%d,\"bottom\":%d,\"x\":%d,\"y\":%d}", b.x, b.y,
              b.x + b.w - 1, b.y + b.h - 1, b.x + b.w / 2, b.y + b.h / 2);
    }
    w.add("]}");
    return w.length;
}
