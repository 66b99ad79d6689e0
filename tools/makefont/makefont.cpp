// Rasterises an outline face into the programs' monochrome bitmap font and
// writes it the way the library's datafile tool imports fonts: an 8-bit grid
// image (glyph boxes framed in colour 255) plus a one-line range script.
//
//   makefont FACE OUTDIR [--ppem N] [--xscale F] [--shift F] [--phases N]
//            [--hinting native|auto|light|grey] [--spacing ink|advance]
//            [--threshold F] [--show TEXT]
//
// writes OUTDIR/font.bmp and OUTDIR/font.txt (nothing when OUTDIR is "-")
// and prints a score line that tools/font-survey tabulates. The options
// exist to compare candidates; tools/make-font uses the defaults below. The
// glyph data depends only on the face file and the constants below, so
// reruns give identical bytes.

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
constexpr int kCapitalTopRow = 5;
// The highest row that marks over capitals may reach; row 0 stays blank.
constexpr int kTopRow = 1;
// How outlines become pixels. Native: the face's own hinting program (or
// FreeType's CFF hinter) with the monochrome rasteriser. Auto: FreeType's
// auto-hinter, monochrome. Light: the auto-hinter's vertical-only light
// mode, rendered grey and thresholded. Grey: no hinting, rendered at
// kGreyScale times the size, each kGreyScale-square block averaged and
// thresholded.
enum class Hinting { Native, Auto, Light, Grey };

// Where a glyph's ink sits in its cell. Ink: exactly one blank column on
// each side of the ink. Advance: the face's own advance and side bearings,
// widened where needed so that each side keeps at least one blank column.
enum class Spacing { Ink, Advance };

// Chosen by measurement with the score line and tools/font-survey over
// faces, sizes and rasterisations (docs/font.md says why): with
// Cantarell Light and the auto-hinter, 26 pixels per em puts the capitals on
// rows 5 to 22 and the small letters on rows 10 to 22 with one-pixel stems,
// and a horizontal size of 0.985 of that brings the width histogram closest
// to the layout's.
constexpr double kDefaultPpem = 26;
constexpr auto kDefaultHinting = Hinting::Auto;
constexpr auto kDefaultSpacing = Spacing::Ink;
constexpr double kDefaultThreshold = 0.5;
constexpr double kDefaultXscale = 0.985;
constexpr double kDefaultShift = 0;
constexpr int kDefaultPhases = 1;
constexpr int kGreyScale = 4;
constexpr int kSpaceWidth = 9;
constexpr int kGlyphsPerGridRow = 16;

// Grid image colours: the importer frames boxes with 255 and treats every
// other non-zero pixel inside a box as ink.
constexpr int kGridColour = 255;
constexpr int kPaperColour = 0;
constexpr int kInkColour = 1;

// Widths the screens are laid out for: digits, the unplaced cell's "?" and
// the accented letters of the texts.
constexpr struct {
    int code, width;
} kLayoutWidths[] = {{'0', 13}, {'1', 7},   {'2', 13},  {'3', 12}, {'4', 13},
                     {'5', 12}, {'6', 13},  {'7', 13},  {'8', 13}, {'9', 13},
                     {'?', 12}, {0xE4, 12}, {0xF5, 13}, {0xFC, 11}};

int layoutWidth(int code) {
    for (const auto &w : kLayoutWidths)
        if (w.code == code) return w.width;
    return 0;
}

constexpr int kMaxWidth = 24;

// Horizontal size steps tried, each a share of the common size, when fitting
// a glyph to its layout width.
constexpr double kFitStep = 0.005;
constexpr int kFitSteps = 60;

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
    int missing = 0;          // no glyph in the face, placeholder used
    int squeezed = 0;         // made to fit by dropping a repeated row
    int clipped = 0;          // ink outside the 28 rows was cut off
    int fitted = 0;           // drawn at its own horizontal size to get its layout width
    std::string fittedNotes;  // which, and at what share of the common size
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
    // Index of a blank row, between the cell rows from and to, with another
    // blank row above it; -1 if none.
    int doubledBlankRow(int from, int to) const {
        for (int r = std::max(from, firstRow + 1); r <= std::min(to, lastRow()); ++r)
            if (blank(rows[r - firstRow]) && blank(rows[r - firstRow - 1])) return r - firstRow;
        return -1;
    }
};

// A face's descenders may be a pixel or two deeper than the cell has room
// for, and accents on capitals higher than row 1, where the screens expect
// the highest marks. Dropping a row that repeats its neighbour (a straight
// stem, the sides of a bowl) shortens the shape with the least change to its
// look; where no row repeats, as in a cedilla, the closest pair gives way.
// Above the letters, a second blank row between mark and letter goes first,
// then rows of the mark itself, so the letter under it keeps its height.
// Rows across the baseline never move, so the glyph keeps its place on the
// line.
bool squeezeIntoCell(InkRows &ink) {
    bool changed = false;
    while (ink.lastRow() >= kHeight) {
        const int i = ink.mostRepeatedRow(kBaselineRow, ink.lastRow());
        if (i < 0) break;
        ink.rows.erase(ink.rows.begin() + i);
        changed = true;
    }
    while (ink.firstRow < kTopRow) {
        int i = ink.doubledBlankRow(ink.firstRow + 1, kCapitalTopRow - 1);
        if (i < 0) i = ink.mostRepeatedRow(ink.firstRow + 1, kCapitalTopRow - 1);
        if (i < 0) i = ink.mostRepeatedRow(ink.firstRow + 1, kBaselineRow - 1);
        if (i < 0) break;
        ink.rows.erase(ink.rows.begin() + i);
        ++ink.firstRow;
        changed = true;
    }
    return changed;
}

struct Settings {
    double ppem = kDefaultPpem;
    // Horizontal size as a share of ppem: a face whose letters run a little
    // wide or narrow for the layout is condensed or widened as a whole.
    double xscale = kDefaultXscale;
    // Where the pen stands within a pixel, in pixels: which columns an
    // unhinted edge falls on depends on it.
    double shift = kDefaultShift;
    int phases = kDefaultPhases;
    Hinting hinting = kDefaultHinting;
    Spacing spacing = kDefaultSpacing;
    double threshold = kDefaultThreshold;  // share of full coverage that inks a pixel
};

// One rendered glyph before it is fitted into a cell: on/off pixels, the
// column of its left edge relative to the pen, its top row above the
// baseline, and the pen advance in whole pixels.
struct Raster {
    int width = 0, rows = 0, left = 0, top = 0, advance = 0;
    std::vector<unsigned char> on;

    bool at(int x, int y) const { return on[y * width + x] != 0; }
};

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

class Rasteriser {
public:
    Rasteriser(const char *facePath, const Settings &settings) : settings_(settings) {
        if (FT_Init_FreeType(&library_) != 0) fail("cannot start FreeType");
        if (FT_New_Face(library_, facePath, 0, &face_) != 0)
            fail(std::string("cannot open face ") + facePath);
        setSize(settings.xscale);
    }
    ~Rasteriser() {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    Rasteriser(const Rasteriser &) = delete;
    Rasteriser &operator=(const Rasteriser &) = delete;

    // The glyphs the screens are laid out by get their layout width: where
    // the face at its common size gives another, that glyph alone is drawn
    // at the nearest horizontal size that gives the layout's width. Glyphs
    // wider than the widest cell the layout allows are narrowed the same way.
    Glyph glyphFor(int code, RenderStats &stats) {
        Glyph g = glyphAtSize(code, stats);
        int target = layoutWidth(code);
        const bool tooWide = target == 0 && g.width > kMaxWidth;
        if (tooWide) target = kMaxWidth;
        if (target == 0 || g.width == target) return g;
        RenderStats scratch;
        const double direction = g.width > target ? -1 : 1;
        for (int step = 1; step <= kFitSteps; ++step) {
            setSize(settings_.xscale * (1 + direction * kFitStep * step));
            Glyph fitted = glyphAtSize(code, scratch);
            if (fitted.width == target || (tooWide && fitted.width < target)) {
                g = fitted;
                ++stats.fitted;
                char note[32];
                std::snprintf(note, sizeof note, " %d:%.3f", code, 1 + direction * kFitStep * step);
                stats.fittedNotes += note;
                break;
            }
        }
        setSize(settings_.xscale);
        return g;
    }

private:
    void setSize(double xscale) {
        const double scale = settings_.hinting == Hinting::Grey ? kGreyScale : 1;
        const FT_F26Dot6 height = static_cast<FT_F26Dot6>(settings_.ppem * scale * 64 + 0.5);
        const FT_F26Dot6 width =
            static_cast<FT_F26Dot6>(settings_.ppem * xscale * scale * 64 + 0.5);
        // At 72 dpi a point is a pixel, so these are the em in 1/64 pixels.
        if (FT_Set_Char_Size(face_, width, height, 72, 72) != 0) fail("cannot set pixel size");
    }

    Glyph glyphAtSize(int code, RenderStats &stats) {
        if (code == 32 || code == 160) return blankGlyph(kSpaceWidth);
        if (code >= 127 && code <= 159) return placeholderGlyph();

        Raster r;
        const FT_UInt index = FT_Get_Char_Index(face_, static_cast<FT_ULong>(code));
        if (index == 0 || !renderCrispest(index, r)) {
            ++stats.missing;
            return placeholderGlyph();
        }

        int left = -1, right = -1;
        for (int y = 0; y < r.rows; ++y)
            for (int x = 0; x < r.width; ++x)
                if (r.at(x, y)) {
                    if (left < 0 || x < left) left = x;
                    if (x > right) right = x;
                }
        if (left < 0) {
            ++stats.missing;
            return placeholderGlyph();
        }

        InkRows ink;
        ink.firstRow = kBaselineRow - r.top;
        for (int y = 0; y < r.rows; ++y) {
            std::string row;
            for (int x = left; x <= right; ++x) row += r.at(x, y) ? '#' : '.';
            ink.rows.push_back(row);
        }
        if (squeezeIntoCell(ink)) ++stats.squeezed;

        const int inkWidth = right - left + 1;
        int before = 1, after = 1;
        if (settings_.spacing == Spacing::Advance) {
            before = std::max(1, r.left + left);
            after = std::max(1, r.advance - (r.left + right + 1));
        }
        Glyph g = blankGlyph(before + inkWidth + after);
        bool cut = false;
        for (int row = ink.firstRow; row <= ink.lastRow(); ++row) {
            const std::string &text = ink.rows[row - ink.firstRow];
            if (row < 0 || row >= kHeight) {
                cut = cut || !InkRows::blank(text);
                continue;
            }
            for (int x = 0; x < inkWidth; ++x)
                if (text[x] == '#') g.set(before + x, row);
        }
        if (cut) {
            ++stats.clipped;
            std::fprintf(stderr, "makefont: glyph %d does not fit in %d rows\n", code, kHeight);
        }
        return g;
    }

    // With phases, each glyph is rendered with the pen at that many evenly
    // spaced places within a pixel, and the narrowest ink wins, then the one
    // with fewest pixels: where the outline's edges fall on pixel edges the
    // stems come out one column wide instead of smeared over two.
    bool renderCrispest(FT_UInt index, Raster &best) {
        const int phases = std::max(settings_.phases, 1);
        int bestWidth = 0, bestInk = 0;
        bool found = false;
        for (int p = 0; p < phases; ++p) {
            Raster r;
            if (!render(index, r, settings_.shift + static_cast<double>(p) / phases)) return false;
            int left = r.width, right = -1, ink = 0;
            for (int y = 0; y < r.rows; ++y)
                for (int x = 0; x < r.width; ++x)
                    if (r.at(x, y)) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                        ++ink;
                    }
            const int width = right - left + 1;
            if (!found || width < bestWidth || (width == bestWidth && ink < bestInk)) {
                best = r;
                bestWidth = width;
                bestInk = ink;
                found = true;
            }
        }
        return true;
    }

    bool render(FT_UInt index, Raster &r, double shift) {
        const double scale = settings_.hinting == Hinting::Grey ? kGreyScale : 1;
        FT_Vector pen = {static_cast<FT_Pos>(shift * scale * 64 + 0.5), 0};
        FT_Set_Transform(face_, nullptr, &pen);
        FT_Int32 flags = FT_LOAD_RENDER;
        switch (settings_.hinting) {
            case Hinting::Native:
                flags |= FT_LOAD_TARGET_MONO;
                break;
            case Hinting::Auto:
                flags |= FT_LOAD_TARGET_MONO | FT_LOAD_FORCE_AUTOHINT;
                break;
            case Hinting::Light:
                flags |= FT_LOAD_TARGET_LIGHT;
                break;
            case Hinting::Grey:
                flags |= FT_LOAD_NO_HINTING;
                break;
        }
        if (FT_Load_Glyph(face_, index, flags) != 0) return false;
        const FT_GlyphSlot slot = face_->glyph;
        const FT_Bitmap &bm = slot->bitmap;
        const bool mono = bm.pixel_mode == FT_PIXEL_MODE_MONO;
        if (!mono && bm.pixel_mode != FT_PIXEL_MODE_GRAY) return false;
        auto coverage = [&](int x, int y) -> int {
            const unsigned char *row = bm.buffer + static_cast<long>(y) * bm.pitch;
            if (mono) return (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            return row[x];
        };
        const int w = static_cast<int>(bm.width), h = static_cast<int>(bm.rows);

        if (settings_.hinting != Hinting::Grey) {
            r.width = w;
            r.rows = h;
            r.left = slot->bitmap_left;
            r.top = slot->bitmap_top;
            r.advance = static_cast<int>((slot->advance.x + 32) >> 6);
            r.on.assign(static_cast<size_t>(w) * h, 0);
            const int cut = static_cast<int>(settings_.threshold * 255 + 0.5);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) r.on[y * w + x] = coverage(x, y) >= std::max(cut, 1);
            return true;
        }

        // Blocks are aligned to the pen origin and the baseline, so a stem
        // on a whole-pixel edge of the small grid stays on it.
        const int k = kGreyScale;
        const int x0 = floorDiv(slot->bitmap_left, k);
        const int x1 = floorDiv(slot->bitmap_left + w - 1, k);
        const int u0 = floorDiv(slot->bitmap_top - h, k);  // lowest row, upwards from baseline
        const int u1 = floorDiv(slot->bitmap_top - 1, k);
        r.width = x1 - x0 + 1;
        r.rows = u1 - u0 + 1;
        r.left = x0;
        r.top = u1 + 1;
        r.advance = static_cast<int>((slot->linearHoriAdvance / 65536.0) / k + 0.5);
        std::vector<int> sum(static_cast<size_t>(r.width) * r.rows, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int sx = floorDiv(slot->bitmap_left + x, k) - x0;
                const int sy = u1 - floorDiv(slot->bitmap_top - 1 - y, k);
                sum[sy * r.width + sx] += coverage(x, y);
            }
        r.on.assign(sum.size(), 0);
        const double cut = settings_.threshold * 255 * k * k;
        for (size_t i = 0; i < sum.size(); ++i) r.on[i] = sum[i] > 0 && sum[i] >= cut;
        return true;
    }

    [[noreturn]] static void fail(const std::string &what) {
        std::fprintf(stderr, "makefont: %s\n", what.c_str());
        std::exit(1);
    }

    Settings settings_;
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

// The figures a face is chosen by, all on one line so that candidates can be
// tabulated: the listed widths that are off, glyphs whose ink leaves their
// rows, the distance of the width histogram from the one the screens were
// laid out for, letters whose two stems differ in width, and where the
// longest status lines of the two programs end on the 640-pixel screen.
void score(const std::vector<Glyph> &glyphs, const RenderStats &stats) {
    auto glyph = [&](int code) -> const Glyph & { return glyphs[code - kFirstCode]; };
    auto name = [](int code) {
        char buf[16];
        if (code < 128)
            std::snprintf(buf, sizeof buf, "%c", code);
        else
            std::snprintf(buf, sizeof buf, "0x%X", code);
        return std::string(buf);
    };

    int widthsOff = 0;
    std::string widthNotes;
    for (const auto &w : kLayoutWidths)
        if (glyph(w.code).width != w.width) {
            ++widthsOff;
            widthNotes += " " + name(w.code) + "=" + std::to_string(glyph(w.code).width);
        }

    int rowsOff = 0;
    std::string rowNotes;
    auto expectRows = [&](const char *codes, int topMin, int topMax, int bottom) {
        for (const char *c = codes; *c; ++c) {
            const Glyph &g = glyph(static_cast<unsigned char>(*c));
            const int top = inkTop(g), low = inkBottom(g);
            if (top < topMin || top > topMax || (bottom >= 0 && low != bottom)) {
                ++rowsOff;
                rowNotes += " " + name(static_cast<unsigned char>(*c)) + ":" + std::to_string(top) +
                            ".." + std::to_string(low);
            }
        }
    };
    expectRows("ABCDEFGHIKLMNOPRSTUVWXYZ", 5, 5, 22);
    expectRows("0123456789", 5, 6, 22);
    expectRows("acemnorsuvwxz", 10, 10, 22);
    expectRows("gpqy", 0, kHeight, 27);
    int accentTop = kHeight;
    for (int code = 0xC0; code <= 0xDD; ++code)
        if (code != 0xD0 && code != 0xD7) accentTop = std::min(accentTop, inkTop(glyph(code)));
    if (accentTop != 1) {
        ++rowsOff;
        rowNotes += " accents:" + std::to_string(accentTop);
    }

    static const int kLayoutHistogram[25] = {0,  0,  0,  15, 7,  5,  9, 18, 10, 9, 4, 27, 60,
                                             33, 55, 35, 25, 10, 16, 4, 3,  1,  1, 4, 1};
    int count[64] = {};
    for (const Glyph &g : glyphs) ++count[std::min(g.width, 63)];
    int distance = 0;
    for (int w = 0; w < 64; ++w)
        distance += std::abs((w < 25 ? kLayoutHistogram[w] : 0) - count[w]);

    // Stem widths: the runs of ink at the glyph's left and right edges in
    // the rows where both are straight, taken as the most common run.
    int stemsOff = 0;
    std::string stemNotes;
    auto edgeRun = [](const Glyph &g, int y, bool fromLeft) {
        int x = fromLeft ? 0 : g.width - 1, step = fromLeft ? 1 : -1, run = 0;
        while (x >= 0 && x < g.width && !g.at(x, y)) x += step;
        while (x >= 0 && x < g.width && g.at(x, y)) x += step, ++run;
        return run;
    };
    auto commonRun = [&](const Glyph &g, int from, int to, bool fromLeft) {
        int seen[32] = {};
        for (int y = from; y <= to; ++y) ++seen[std::min(edgeRun(g, y, fromLeft), 31)];
        return static_cast<int>(std::max_element(seen + 1, seen + 32) - seen);
    };
    const struct {
        int code, from, to;
    } kStems[] = {{'H', 7, 20},  {'M', 7, 20},  {'N', 7, 20}, {'U', 7, 18},
                  {'n', 13, 21}, {'u', 11, 19}, {'m', 13, 21}};
    for (const auto &st : kStems) {
        const Glyph &g = glyph(st.code);
        const int l = commonRun(g, st.from, st.to, true), r = commonRun(g, st.from, st.to, false);
        if (l != r) {
            ++stemsOff;
            stemNotes += " " + name(st.code) + ":" + std::to_string(l) + "/" + std::to_string(r);
        }
    }

    auto length = [&](const std::string &text) {
        int w = 0;
        for (unsigned char c : text) w += glyph(c).width;
        return w;
    };
    const int countersEnd = 220 + length("Vasak nupp - valge, parem nupp - must.") - 1;
    int tilesEnd = 0;
    for (int n = 1; n <= 23; ++n) {
        tilesEnd = std::max(tilesEnd,
                            250 + length("Viin numbrit " + std::to_string(n) + " oma kohale.") - 1);
        tilesEnd = std::max(
            tilesEnd, 250 + length("Ma enam ei oska :( (samm " + std::to_string(n) + ")") - 1);
    }

    std::string histogram;
    for (int w = 0; w < 64; ++w)
        if (count[w] || (w < 25 && kLayoutHistogram[w]))
            histogram += " " + std::to_string(w) + ":" + std::to_string(count[w]) + "/" +
                         std::to_string(w < 25 ? kLayoutHistogram[w] : 0);
    if (stats.fitted)
        std::printf("fitted (code point:horizontal size):%s\n", stats.fittedNotes.c_str());
    std::printf(
        "score: widths-off %d rows-off %d histogram %d stems-off %d squeezed %d clipped %d missing "
        "%d fitted %d"
        " counters-end %d tiles-end %d |%s |%s |%s |%s\n",
        widthsOff, rowsOff, distance, stemsOff, stats.squeezed, stats.clipped, stats.missing,
        stats.fitted, countersEnd, tilesEnd, widthNotes.c_str(), rowNotes.c_str(),
        stemNotes.c_str(), histogram.c_str());
}
}  // namespace

int main(int argc, char **argv) {
    const char *usage =
        "usage: makefont FACE OUTDIR [--ppem N] [--xscale F] [--shift F] [--phases N] [--hinting "
        "native|auto|light|grey]\n"
        "                [--spacing ink|advance] [--threshold F] [--show LATIN1TEXT]\n"
        "OUTDIR - writes nothing; the score line is printed always\n";
    if (argc < 3) {
        std::fputs(usage, stderr);
        return 2;
    }
    const char *facePath = argv[1];
    const std::string outDir = argv[2];
    Settings settings;
    std::string showText;
    for (int i = 3; i < argc; i += 2) {
        const std::string opt = argv[i];
        if (i + 1 >= argc) {
            std::fputs(usage, stderr);
            return 2;
        }
        const std::string val = argv[i + 1];
        if (opt == "--ppem") {
            settings.ppem = std::atof(val.c_str());
        } else if (opt == "--phases") {
            settings.phases = std::atoi(val.c_str());
        } else if (opt == "--shift") {
            settings.shift = std::atof(val.c_str());
        } else if (opt == "--xscale") {
            settings.xscale = std::atof(val.c_str());
        } else if (opt == "--threshold") {
            settings.threshold = std::atof(val.c_str());
        } else if (opt == "--show") {
            showText = val;
        } else if (opt == "--hinting" &&
                   (val == "native" || val == "auto" || val == "light" || val == "grey")) {
            settings.hinting = val == "native"  ? Hinting::Native
                               : val == "auto"  ? Hinting::Auto
                               : val == "light" ? Hinting::Light
                                                : Hinting::Grey;
        } else if (opt == "--spacing" && (val == "ink" || val == "advance")) {
            settings.spacing = val == "ink" ? Spacing::Ink : Spacing::Advance;
        } else {
            std::fputs(usage, stderr);
            return 2;
        }
    }

    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        std::fprintf(stderr, "makefont: cannot start the library\n");
        return 1;
    }

    std::vector<Glyph> glyphs;
    RenderStats stats;
    {
        Rasteriser raster(facePath, settings);
        for (int code = kFirstCode; code <= kLastCode; ++code)
            glyphs.push_back(raster.glyphFor(code, stats));
    }
    if (!showText.empty()) show(glyphs, showText);
    score(glyphs, stats);
    if (outDir == "-") return 0;

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
    return 0;
}
