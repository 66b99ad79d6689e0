// Rasterises an outline face into the programs' monochrome bitmap font and
// writes it the way the library's datafile tool imports fonts: an 8-bit grid
// image (glyph boxes framed in colour 255) plus a one-line range script.
//
//   makefont FACE OUTDIR [--ppem N] [--show TEXT]
//
// writes OUTDIR/font.bmp and OUTDIR/font.txt. The glyph data depends only
// on the face file and the constants below, so reruns give identical bytes.

#define ALLEGRO_NO_MAGIC_MAIN
#include <allegro.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kFirstCode = 32;
constexpr int kLastCode = 383;
constexpr int kHeight = 28;
// Row 22 is the last row above the baseline, so capitals end there and
// descenders get rows 23 to 27.
constexpr int kBaselineRow = 23;
// 25 pixels per em puts the hinted capitals on rows 5 to 22 (18 rows).
constexpr int kDefaultPpem = 25;
// Ink starts at column 0; one blank column on the right keeps letters apart.
constexpr int kRightGap = 1;
constexpr int kSpaceWidth = 9;
constexpr int kGlyphsPerGridRow = 16;

// Grid image colours: the importer frames boxes with 255 and treats every
// other non-zero pixel inside a box as ink.
constexpr int kGridColour = 255;
constexpr int kPaperColour = 0;
constexpr int kInkColour = 1;

struct Glyph {
    int width = 0;
    std::vector<unsigned char> ink;  // kHeight rows of width pixels, 1 = set

    bool at(int x, int y) const { return ink[y * width + x] != 0; }
    void set(int x, int y) { ink[y * width + x] = 1; }
};

Glyph blankGlyph(int width) {
    Glyph g;
    g.width = width;
    g.ink.assign(static_cast<size_t>(width) * kHeight, 0);
    return g;
}

// C1 controls have no shape; they, and anything the face lacks, show a box
// so that a stray byte is visible rather than silently blank.
Glyph placeholderGlyph() {
    Glyph g = blankGlyph(14);
    for (int x = 0; x <= 12; ++x) {
        g.set(x, 7);
        g.set(x, 22);
    }
    for (int y = 7; y <= 22; ++y) {
        g.set(0, y);
        g.set(12, y);
    }
    return g;
}

struct RenderStats {
    int missing = 0;   // no glyph in the face, placeholder used
    int squeezed = 0;  // made to fit by dropping a repeated row
    int clipped = 0;   // ink outside the 28 rows was cut off
};

// A glyph's ink before it is fitted into the cell: one string of '#' and
// '.' per row, and the cell row that the first of them falls on.
struct InkRows {
    int firstRow = 0;
    std::vector<std::string> rows;

    int lastRow() const { return firstRow + static_cast<int>(rows.size()) - 1; }
    static bool blank(const std::string &row) { return row.find('#') == std::string::npos; }
    // Index of the non-blank row, between the cell rows from and to
    // (inclusive), that differs least from the row before it; -1 if none.
    int mostRepeatedRow(int from, int to) const {
        int best = -1, bestDiff = 0;
        for (int r = std::max(from, firstRow + 1); r <= std::min(to, lastRow()); ++r) {
            const std::string &row = rows[r - firstRow];
            const std::string &above = rows[r - firstRow - 1];
            if (blank(row)) continue;
            int diff = 0;
            for (size_t x = 0; x < row.size(); ++x) diff += row[x] != above[x];
            if (best < 0 || diff < bestDiff) {
                best = r - firstRow;
                bestDiff = diff;
            }
        }
        return best;
    }
};

// The face's descenders are one pixel deeper than the cell has room for, and
// a few accents on tall letters one pixel higher. Dropping a row that repeats
// its neighbour (a straight stem, the sides of a bowl) shortens the shape
// with the least change to its look; where no row repeats, as in a cedilla,
// the closest pair gives way. Rows across the baseline never move, so the
// glyph keeps its place on the line.
bool squeezeIntoCell(InkRows &ink) {
    bool changed = false;
    while (ink.lastRow() >= kHeight) {
        const int i = ink.mostRepeatedRow(kBaselineRow, ink.lastRow());
        if (i < 0) break;
        ink.rows.erase(ink.rows.begin() + i);
        changed = true;
    }
    while (ink.firstRow < 0) {
        const int i = ink.mostRepeatedRow(ink.firstRow + 1, kBaselineRow - 1);
        if (i < 0) break;
        ink.rows.erase(ink.rows.begin() + i);
        ++ink.firstRow;
        changed = true;
    }
    return changed;
}

class Rasteriser {
   public:
    Rasteriser(const char *facePath, int ppem) {
        if (FT_Init_FreeType(&library_) != 0) fail("cannot start FreeType");
        if (FT_New_Face(library_, facePath, 0, &face_) != 0)
            fail(std::string("cannot open face ") + facePath);
        if (FT_Set_Pixel_Sizes(face_, 0, ppem) != 0) fail("cannot set pixel size");
    }
    ~Rasteriser() {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    Rasteriser(const Rasteriser &) = delete;
    Rasteriser &operator=(const Rasteriser &) = delete;

    Glyph glyphFor(int code, RenderStats &stats) {
        if (code == 32 || code == 160) return blankGlyph(kSpaceWidth);
        if (code >= 127 && code <= 159) return placeholderGlyph();

        // The face's own hinting with FreeType's monochrome rasteriser: stems
        // come out as even one- or two-pixel lines, which thresholding a
        // grey rendering does not guarantee.
        const FT_UInt index = FT_Get_Char_Index(face_, static_cast<FT_ULong>(code));
        if (index == 0 || FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0 ||
            face_->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
            ++stats.missing;
            return placeholderGlyph();
        }
        const FT_Bitmap &bm = face_->glyph->bitmap;

        // Proportional spacing from the ink itself, not from the face's advance:
        // the face's digits are all one width, ours are not.
        int left = -1, right = -1;
        for (unsigned y = 0; y < bm.rows; ++y)
            for (unsigned x = 0; x < bm.width; ++x)
                if (monoPixel(bm, x, y)) {
                    if (left < 0 || static_cast<int>(x) < left) left = static_cast<int>(x);
                    if (static_cast<int>(x) > right) right = static_cast<int>(x);
                }
        if (left < 0) {
            ++stats.missing;
            return placeholderGlyph();
        }

        InkRows ink;
        ink.firstRow = kBaselineRow - face_->glyph->bitmap_top;
        for (unsigned y = 0; y < bm.rows; ++y) {
            std::string row;
            for (int x = left; x <= right; ++x) row += monoPixel(bm, x, y) ? '#' : '.';
            ink.rows.push_back(row);
        }
        if (squeezeIntoCell(ink)) ++stats.squeezed;

        Glyph g = blankGlyph(right - left + 1 + kRightGap);
        bool cut = false;
        for (int r = ink.firstRow; r <= ink.lastRow(); ++r) {
            const std::string &row = ink.rows[r - ink.firstRow];
            if (r < 0 || r >= kHeight) {
                cut = cut || !InkRows::blank(row);
                continue;
            }
            for (int x = 0; x <= right - left; ++x)
                if (row[x] == '#') g.set(x, r);
        }
        if (cut) {
            ++stats.clipped;
            std::fprintf(stderr, "makefont: glyph %d does not fit in %d rows\n", code, kHeight);
        }
        return g;
    }

   private:
    static bool monoPixel(const FT_Bitmap &bm, unsigned x, unsigned y) {
        const unsigned char *row = bm.buffer + static_cast<long>(y) * bm.pitch;
        return (row[x >> 3] & (0x80 >> (x & 7))) != 0;
    }
    [[noreturn]] static void fail(const std::string &what) {
        std::fprintf(stderr, "makefont: %s\n", what.c_str());
        std::exit(1);
    }

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

// Boxes of one grid row share their frame columns, and grid rows share
// their frame lines: the importer finds a box by its top-left frame corner
// and takes its size from the frame, so each box is exactly its glyph.
BITMAP *buildGrid(const std::vector<Glyph> &glyphs) {
    const int count = static_cast<int>(glyphs.size());
    const int gridRows = (count + kGlyphsPerGridRow - 1) / kGlyphsPerGridRow;
    int width = 0;
    for (int r = 0; r < gridRows; ++r) {
        int w = 1;
        for (int i = r * kGlyphsPerGridRow; i < count && i < (r + 1) * kGlyphsPerGridRow; ++i)
            w += glyphs[i].width + 1;
        if (w > width) width = w;
    }
    const int height = gridRows * (kHeight + 1) + 1;

    BITMAP *grid = create_bitmap_ex(8, width, height);
    if (!grid) return nullptr;
    clear_to_color(grid, kGridColour);
    for (int i = 0; i < count; ++i) {
        const int r = i / kGlyphsPerGridRow;
        int x0 = 1;
        for (int j = r * kGlyphsPerGridRow; j < i; ++j) x0 += glyphs[j].width + 1;
        const int y0 = r * (kHeight + 1) + 1;
        const Glyph &g = glyphs[i];
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < g.width; ++x)
                putpixel(grid, x0 + x, y0 + y, g.at(x, y) ? kInkColour : kPaperColour);
    }
    return grid;
}

void show(const std::vector<Glyph> &glyphs, const std::string &text) {
    for (unsigned char c : text) {
        if (c < kFirstCode) continue;
        const Glyph &g = glyphs[c - kFirstCode];
        std::printf("code %d width %d\n", c, g.width);
        for (int y = 0; y < kHeight; ++y) {
            std::printf("%2d ", y);
            for (int x = 0; x < g.width; ++x) std::putchar(g.at(x, y) ? '#' : '.');
            std::putchar('\n');
        }
    }
}

int inkTop(const Glyph &g) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < g.width; ++x)
            if (g.at(x, y)) return y;
    return -1;
}

int inkBottom(const Glyph &g) {
    for (int y = kHeight - 1; y >= 0; --y)
        for (int x = 0; x < g.width; ++x)
            if (g.at(x, y)) return y;
    return -1;
}

// The figures the font is tuned by: widths of digits and of the accented
// letters the texts use, and where capitals, small letters and descenders sit.
void summary(const std::vector<Glyph> &glyphs) {
    auto glyph = [&](int code) -> const Glyph & { return glyphs[code - kFirstCode]; };
    std::printf("widths:");
    for (int code :
         std::vector<int>{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '?', 0xE4, 0xF5, 0xFC})
        if (code > 127)
            std::printf(" 0x%X=%d", code, glyph(code).width);
        else
            std::printf(" %c=%d", code, glyph(code).width);
    std::printf("\n");
    std::printf(
        "rows: H %d..%d, 0 %d..%d, u %d..%d, x %d..%d, g %d..%d, 0xC4 top %d, 0xC9 top %d\n",
        inkTop(glyph('H')), inkBottom(glyph('H')), inkTop(glyph('0')), inkBottom(glyph('0')),
        inkTop(glyph('u')), inkBottom(glyph('u')), inkTop(glyph('x')), inkBottom(glyph('x')),
        inkTop(glyph('g')), inkBottom(glyph('g')), inkTop(glyph(0xC4)), inkTop(glyph(0xC9)));
    int count[64] = {};
    for (const Glyph &g : glyphs) ++count[g.width < 63 ? g.width : 63];
    std::printf("width histogram:");
    for (int w = 0; w < 64; ++w)
        if (count[w]) std::printf(" %d:%d", w, count[w]);
    std::printf("\n");
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: makefont FACE OUTDIR [--ppem N] [--show LATIN1TEXT]\n");
        return 2;
    }
    const char *facePath = argv[1];
    const std::string outDir = argv[2];
    int ppem = kDefaultPpem;
    std::string showText;
    for (int i = 3; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--ppem") == 0)
            ppem = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--show") == 0)
            showText = argv[i + 1];
    }

    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        std::fprintf(stderr, "makefont: cannot start the library\n");
        return 1;
    }

    std::vector<Glyph> glyphs;
    RenderStats stats;
    {
        Rasteriser raster(facePath, ppem);
        for (int code = kFirstCode; code <= kLastCode; ++code)
            glyphs.push_back(raster.glyphFor(code, stats));
    }
    if (!showText.empty()) show(glyphs, showText);
    summary(glyphs);

    BITMAP *grid = buildGrid(glyphs);
    if (!grid) {
        std::fprintf(stderr, "makefont: cannot allocate the grid image\n");
        return 1;
    }
    PALETTE pal;
    for (int i = 0; i < PAL_SIZE; ++i) pal[i].r = pal[i].g = pal[i].b = 0;
    pal[kPaperColour].r = pal[kPaperColour].g = pal[kPaperColour].b = 63;
    pal[kGridColour].r = 63;
    pal[kGridColour].b = 63;

    const std::string bmpPath = outDir + "/font.bmp";
    if (save_bitmap(bmpPath.c_str(), grid, pal) != 0) {
        std::fprintf(stderr, "makefont: cannot write %s\n", bmpPath.c_str());
        return 1;
    }
    destroy_bitmap(grid);

    const std::string txtPath = outDir + "/font.txt";
    FILE *script = std::fopen(txtPath.c_str(), "w");
    if (!script) {
        std::fprintf(stderr, "makefont: cannot write %s\n", txtPath.c_str());
        return 1;
    }
    std::fprintf(script, "font.bmp 0x%X 0x%X\n", kFirstCode, kLastCode);
    std::fclose(script);

    int minWidth = 1000, maxWidth = 0;
    for (const Glyph &g : glyphs) {
        if (g.width < minWidth) minWidth = g.width;
        if (g.width > maxWidth) maxWidth = g.width;
    }
    std::printf(
        "makefont: %zu glyphs, widths %d..%d; %d missing from the face, %d squeezed, %d clipped\n",
        glyphs.size(), minWidth, maxWidth, stats.missing, stats.squeezed, stats.clipped);
    return 0;
}
