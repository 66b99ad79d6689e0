#include "reference.h"

#define ALLEGRO_NO_MAGIC_MAIN
#include <allegro.h>

#include <cerrno>
#include <stdexcept>

namespace {

// The font datafile, loaded once with the library started without a display.
FONT* referenceFont() {
    static FONT* f = [] {
        if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) throw std::runtime_error("allegro");
        set_uformat(U_ASCII);
        set_color_depth(32);
        static DATAFILE* data = load_datafile(FONT_DATAFILE);
        if (data == nullptr) throw std::runtime_error("cannot load " FONT_DATAFILE);
        return static_cast<FONT*>(data[0].dat);
    }();
    return f;
}

const int kWhite = 0xffffff;
const int kBlack = 0;

// A white page to draw on; returned as a Shot and freed by `finish`.
BITMAP* whitePage() {
    referenceFont();
    BITMAP* bmp = create_bitmap_ex(32, 640, 480);
    clear_to_color(bmp, kWhite);
    return bmp;
}

Shot finish(BITMAP* bmp) {
    Shot shot;
    shot.width = 640;
    shot.height = 480;
    shot.pixels.resize(640 * 480);
    for (int py = 0; py < 480; ++py)
        for (int px = 0; px < 640; ++px) {
            int c = getpixel(bmp, px, py);
            shot.pixels[py * 640 + px] = {getr32(c), getg32(c), getb32(c)};
        }
    destroy_bitmap(bmp);
    return shot;
}

}  // namespace

int referenceFontHeight() { return text_height(referenceFont()); }

Shot referenceText(const std::string& text, int x, int y, bool centred) {
    BITMAP* bmp = whitePage();
    if (centred) {
        textout_centre_ex(bmp, referenceFont(), text.c_str(), x, y, kBlack, kWhite);
    } else {
        textout_ex(bmp, referenceFont(), text.c_str(), x, y, kBlack, kWhite);
    }
    return finish(bmp);
}

Shot referenceTilesCell(int value, int col, int row) {
    int x = 65 * col;
    int y = 65 * row;
    BITMAP* bmp = whitePage();
    if (value != 0) {
        rectfill(bmp, 220 + x, 110 + y, 280 + x, 170 + y, kBlack);
        rectfill(bmp, 223 + x, 113 + y, 277 + x, 167 + y, kWhite);
        std::string label = value < 0 ? "?" : std::to_string(value);
        FONT* f = referenceFont();
        textout_centre_ex(bmp, f, label.c_str(), 250 + x, 140 + y - text_height(f) / 2, kBlack,
                          kWhite);
    }
    return finish(bmp);
}

Shot referenceCounter(int content, int index) {
    const int x = 240 + 52 * index;
    const int y = 230;
    BITMAP* bmp = whitePage();
    if (content == 1) {
        circlefill(bmp, x, y, 20, kBlack);
    } else {
        // An empty cell is a white disc a little wider than a counter; a
        // white counter is an outline drawn over that disc.
        circlefill(bmp, x, y, 22, kWhite);
        if (content == 2) circle(bmp, x, y, 20, kBlack);
    }
    return finish(bmp);
}

bool hintShows(const Shot& shot, const std::string& text) {
    // The whole strip between the banner (down to y 62) and the board (from
    // y 100), so a line in the wrong place or a leftover fails too.
    if (text.empty()) return shot.allOf(0, 63, 639, 99, kWhiteRgb);
    static std::string drawnText;
    static Shot drawn;
    if (drawnText != text || drawn.pixels.empty()) {
        drawn = referenceText(text, 25, 67);
        drawnText = text;
    }
    return shot.differences(drawn, 0, 63, 639, 99) == 0;
}
