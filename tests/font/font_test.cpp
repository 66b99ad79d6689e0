// Checks the committed font datafile through the library itself: what
// load_datafile makes of it and what textout_ex draws with it. No display is
// needed; glyphs are drawn into memory bitmaps and read back pixel by pixel.

#include <gtest/gtest.h>

#define ALLEGRO_NO_MAGIC_MAIN
#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "counters/texts.h"
#include "shell/hint_line.h"
#include "shell/shell.h"
#include "tiles/board.h"
#include "tiles/placement.h"
#include "tiles/texts.h"

namespace {

constexpr int kFirstCode = 32;
constexpr int kLastCode = 383;
constexpr int kCellHeight = 28;

// Colours of the memory bitmap a glyph is drawn into: the glyph's cell is
// painted in paper and ink, so whatever is still kOutside lies beyond it.
constexpr int kOutside = 7;
constexpr int kPaper = 0;
constexpr int kInk = 1;

// The programs draw Latin-1 bytes, but code points above 255 can only be
// named in a wider encoding; the library's text format is global state.
class UformatScope {
public:
    explicit UformatScope(int format) : saved_(get_uformat()) { set_uformat(format); }
    ~UformatScope() { set_uformat(saved_); }
    UformatScope(const UformatScope&) = delete;
    UformatScope& operator=(const UformatScope&) = delete;

private:
    int saved_;
};

// One code point as 16-bit text, for use under U_UNICODE.
struct WideChar {
    explicit WideChar(int code) : units{static_cast<unsigned short>(code), 0} {}
    const char* text() const { return reinterpret_cast<const char*>(units); }
    unsigned short units[2];
};

// What textout_ex drew for one glyph: '#' ink, '.' paper, one string a row.
struct Cell {
    int width = 0;
    int height = 0;
    std::vector<std::string> rows;

    bool hasInk() const { return inkTop() >= 0; }
    int inkTop() const {
        for (int y = 0; y < height; ++y)
            if (rows[y].find('#') != std::string::npos) return y;
        return -1;
    }
    int inkBottom() const {
        for (int y = height - 1; y >= 0; --y)
            if (rows[y].find('#') != std::string::npos) return y;
        return -1;
    }
};

Cell readCell(BITMAP* bmp) {
    Cell cell;
    while (cell.width < bmp->w && getpixel(bmp, cell.width, 0) != kOutside) ++cell.width;
    while (cell.height < bmp->h && getpixel(bmp, 0, cell.height) != kOutside) ++cell.height;
    for (int y = 0; y < cell.height; ++y) {
        std::string row;
        for (int x = 0; x < cell.width; ++x) row += getpixel(bmp, x, y) == kInk ? '#' : '.';
        cell.rows.push_back(row);
    }
    return cell;
}

// Draws text (in the current text format) at the top-left corner of a
// bitmap larger than any glyph and reads back the cell it covers.
Cell drawText(FONT* f, const char* text) {
    BITMAP* bmp = create_bitmap_ex(8, 64, 48);
    clear_to_color(bmp, kOutside);
    textout_ex(bmp, f, text, 0, 0, kInk, kPaper);
    Cell cell = readCell(bmp);
    destroy_bitmap(bmp);
    return cell;
}

Cell drawCode(FONT* f, int code) {
    UformatScope wide(U_UNICODE);
    return drawText(f, WideChar(code).text());
}

int lengthOfCode(FONT* f, int code) {
    UformatScope wide(U_UNICODE);
    return text_length(f, WideChar(code).text());
}

class FontDatafile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        install_allegro(SYSTEM_NONE, &errno, std::atexit);
        set_uformat(U_ASCII);
        data_ = load_datafile(FONT_DATAFILE);
    }
    static void TearDownTestSuite() {
        if (data_) unload_datafile(data_);
        data_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(data_, nullptr) << "cannot load " << FONT_DATAFILE;
        ASSERT_EQ(data_[0].type, DAT_FONT);
        font_ = static_cast<FONT*>(data_[0].dat);
    }

    static DATAFILE* data_;
    FONT* font_ = nullptr;
};

DATAFILE* FontDatafile::data_ = nullptr;

TEST_F(FontDatafile, FirstObjectIsOneMonochromeRangeNamedFont) {
    EXPECT_STREQ(get_datafile_property(&data_[0], DAT_NAME), "Font");
    EXPECT_TRUE(is_mono_font(font_));
    ASSERT_EQ(get_font_ranges(font_), 1);
    EXPECT_EQ(get_font_range_begin(font_, 0), kFirstCode);
    EXPECT_EQ(get_font_range_end(font_, 0), kLastCode);
}

TEST_F(FontDatafile, EveryGlyphIsAFullHeightCellOfItsOwnWidth) {
    EXPECT_EQ(text_height(font_), kCellHeight);
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        SCOPED_TRACE("code point " + std::to_string(code));
        const Cell cell = drawCode(font_, code);
        EXPECT_EQ(cell.height, kCellHeight);
        EXPECT_EQ(cell.width, lengthOfCode(font_, code));
        EXPECT_GE(cell.width, 3);
        EXPECT_LE(cell.width, 24);
    }
}

TEST_F(FontDatafile, OnlySpaceAndNoBreakSpaceAreBlank) {
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        SCOPED_TRACE("code point " + std::to_string(code));
        const Cell cell = drawCode(font_, code);
        if (code == 32 || code == 160) {
            EXPECT_FALSE(cell.hasInk());
            EXPECT_EQ(cell.width, 9);
        } else {
            EXPECT_TRUE(cell.hasInk());
        }
    }
}

TEST_F(FontDatafile, ControlCodesShowTheHollowBox) {
    std::vector<std::string> box(kCellHeight, std::string(14, '.'));
    for (int x = 0; x <= 12; ++x) box[7][x] = box[22][x] = '#';
    for (int y = 7; y <= 22; ++y) box[y][0] = box[y][12] = '#';

    for (int code = 127; code <= 159; ++code) {
        SCOPED_TRACE("code point " + std::to_string(code));
        EXPECT_EQ(drawCode(font_, code).rows, box);
    }
}

// Widths the screens are laid out for, drawn as the programs draw them: one
// Latin-1 byte in U_ASCII.
TEST_F(FontDatafile, DigitAndLetterWidthsAreThoseOfTheLayout) {
    const struct {
        const char* text;
        int width;
    } kWidths[] = {
        {"0", 13}, {"1", 7},  {"2", 13}, {"3", 12}, {"4", 13},    {"5", 12},    {"6", 13},
        {"7", 13}, {"8", 13}, {"9", 13}, {"?", 12}, {"\xe4", 12}, {"\xf5", 13}, {"\xfc", 11},
    };
    for (const auto& row : kWidths) {
        SCOPED_TRACE(std::string("glyph ") + row.text);
        EXPECT_EQ(text_length(font_, row.text), row.width);
        EXPECT_EQ(drawText(font_, row.text).width, row.width);
    }
    EXPECT_EQ(text_length(font_, "15"), text_length(font_, "1") + text_length(font_, "5"));
}

TEST_F(FontDatafile, GlyphsSitOnOneBaseline) {
    const struct {
        const char* letters;
        int topMin, topMax;  // first row with ink
        int bottom;          // last row with ink
    } kRows[] = {
        {"ABCDEFGHIKLMNOPRSTUVWXYZ", 5, 5, 22},
        {"0123456789", 5, 6, 22},
        {"acemnorsuvwxz", 10, 10, 22},
        {"gpqy", 10, 10, 27},
    };
    for (const auto& row : kRows)
        for (const char* c = row.letters; *c; ++c) {
            SCOPED_TRACE(std::string("glyph ") + *c);
            const Cell cell = drawCode(font_, *c);
            EXPECT_GE(cell.inkTop(), row.topMin);
            EXPECT_LE(cell.inkTop(), row.topMax);
            EXPECT_EQ(cell.inkBottom(), row.bottom);
        }

    // Marks over Latin-1 capitals reach up to row 1, never row 0.
    int highest = kCellHeight;
    for (int code = 0xC0; code <= 0xDD; ++code) {
        if (code == 0xD0 || code == 0xD7) continue;  // no mark: Eth, times
        SCOPED_TRACE("code point " + std::to_string(code));
        const Cell cell = drawCode(font_, code);
        EXPECT_GE(cell.inkTop(), 1);
        if (code != 0xC7) {  // C cedilla descends
            EXPECT_EQ(cell.inkBottom(), 22);
        }
        highest = std::min(highest, cell.inkTop());
    }
    EXPECT_EQ(highest, 1);
}

// The texts' accented letters must be their own glyphs: the base letter on
// the same baseline with a mark above its x-height.
TEST_F(FontDatafile, AccentedLettersOfTheTextsCarryMarksAboveTheirBaseLetter) {
    const struct {
        int accented, base;
    } kPairs[] = {{0xE4, 'a'}, {0xF5, 'o'}, {0xFC, 'u'}, {0xC4, 'A'}, {0xD5, 'O'}, {0xDC, 'U'}};
    for (const auto& pair : kPairs) {
        SCOPED_TRACE("code point " + std::to_string(pair.accented));
        const Cell accented = drawCode(font_, pair.accented);
        const Cell base = drawCode(font_, pair.base);
        EXPECT_LT(accented.inkTop(), base.inkTop());
        EXPECT_EQ(accented.inkBottom(), base.inkBottom());
    }
}

// Length of the run of ink that starts at a row's first (or last) ink pixel.
int edgeRun(const std::string& row, bool fromLeft) {
    const int n = static_cast<int>(row.size());
    int x = fromLeft ? 0 : n - 1, step = fromLeft ? 1 : -1, run = 0;
    while (x >= 0 && x < n && row[x] != '#') x += step;
    while (x >= 0 && x < n && row[x] == '#') x += step, ++run;
    return run;
}

// Rows, between from and to, where the edge stem is parted from the next
// ink inside it by exactly one blank column.
int rowsWithSplitStem(const Cell& cell, int from, int to, bool fromLeft) {
    int rows = 0;
    for (int y = from; y <= to; ++y) {
        std::string row = cell.rows[y];
        if (!fromLeft) std::reverse(row.begin(), row.end());
        const size_t stem = row.find('#');
        if (stem == std::string::npos) continue;
        const size_t gap = row.find('.', stem);
        if (gap != std::string::npos && gap + 1 < row.size() && row[gap + 1] == '#') ++rows;
    }
    return rows;
}

// The most common width of the stem at one edge over rows from..to.
int usualStem(const Cell& cell, int from, int to, bool fromLeft) {
    int seen[32] = {};
    for (int y = from; y <= to; ++y) ++seen[std::min(edgeRun(cell.rows[y], fromLeft), 31)];
    return static_cast<int>(std::max_element(seen + 1, seen + 32) - seen);
}

// Letters designed with two equal stems show them equal; a figure one's stem
// keeps its width down its length; and an "M" keeps its diagonals joined to
// its stems instead of reading as "IV" beside an "I".
TEST_F(FontDatafile, StemsAreEvenAndWhole) {
    const struct {
        int code;
        int from, to;  // rows where both stems run straight
    } kStems[] = {{'H', 7, 20},  {'M', 7, 20},  {'N', 7, 20}, {'U', 7, 18},
                  {'n', 13, 21}, {'u', 11, 19}, {'m', 13, 21}};
    for (const auto& letter : kStems) {
        SCOPED_TRACE(std::string("glyph ") + static_cast<char>(letter.code));
        const Cell cell = drawCode(font_, letter.code);
        EXPECT_EQ(usualStem(cell, letter.from, letter.to, true),
                  usualStem(cell, letter.from, letter.to, false));
    }

    const Cell one = drawCode(font_, '1');
    for (int y = 10; y <= 20; ++y)
        EXPECT_EQ(edgeRun(one.rows[y], false), edgeRun(one.rows[10], false)) << "row " << y;

    const Cell m = drawCode(font_, 'M');
    const int left = rowsWithSplitStem(m, 5, 22, true), right = rowsWithSplitStem(m, 5, 22, false);
    // A diagonal leaves its stem one blank column away for a row or two at
    // most before the gap widens.
    EXPECT_LE(left, 2);
    EXPECT_LE(right, 2);
}

// A string as a screen places it: the left edge of its first glyph cell and
// its top row. Button labels are held without their "&".
struct PlacedText {
    std::string text;
    int left, top;
};

std::string formatted(const char* pattern, int n, int m = 0) {
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, n, m);
    return buf;
}

// Ink columns of one glyph cell on a drawn screen, row by row: the first and
// last ink column of each row, or -1 when the row is blank.
struct GlyphInk {
    int left, right;  // the cell's columns, right exclusive
    std::vector<int> first, last;

    bool hasInk() const {
        return std::any_of(first.begin(), first.end(), [](int x) { return x >= 0; });
    }
    // The outermost ink column on one side, and whether a stem stands there:
    // kStemRows or more rows in a row with ink in that column.
    int edge(bool rightSide) const {
        int e = rightSide ? -1 : 1 << 20;
        for (size_t y = 0; y < first.size(); ++y)
            if (first[y] >= 0) e = rightSide ? std::max(e, last[y]) : std::min(e, first[y]);
        return e;
    }
    bool stemAt(bool rightSide) const {
        constexpr int kStemRows = 6;
        const int e = edge(rightSide);
        int run = 0, best = 0;
        for (size_t y = 0; y < first.size(); ++y) {
            run = (rightSide ? last[y] : first[y]) == e && first[y] >= 0 ? run + 1 : 0;
            best = std::max(best, run);
        }
        return best >= kStemRows;
    }
};

GlyphInk inkOf(BITMAP* bmp, int left, int right, int top, int height) {
    GlyphInk g{left, right, std::vector<int>(height, -1), std::vector<int>(height, -1)};
    for (int y = 0; y < height; ++y)
        for (int x = std::max(left, 0); x < std::min(right, bmp->w); ++x)
            if (getpixel(bmp, x, top + y) == kInk) {
                if (g.first[y] < 0) g.first[y] = x;
                g.last[y] = x;
            }
    return g;
}

// Checks one placed string on a bitmap it was drawn on; every failure names
// the string and the pair of glyphs.
void expectLegible(BITMAP* bmp, FONT* f, const PlacedText& placed) {
    SCOPED_TRACE("\"" + placed.text + "\" at " + std::to_string(placed.left) + "," +
                 std::to_string(placed.top));
    const int height = text_height(f);
    std::vector<GlyphInk> glyphs;
    int x = placed.left;
    for (char c : placed.text) {
        const char one[2] = {c, 0};
        const int w = text_length(f, one);
        glyphs.push_back(inkOf(bmp, x, x + w, placed.top, height));
        x += w;
    }
    EXPECT_GE(placed.left, 0);
    EXPECT_LE(x, 640) << "the last glyph cell ends at x " << x - 1;

    for (size_t i = 0; i + 1 < glyphs.size(); ++i) {
        const GlyphInk &a = glyphs[i], &b = glyphs[i + 1];
        if (!a.hasInk() || !b.hasInk()) continue;
        const std::string pair = placed.text.substr(i, 2);
        for (int y = 0; y < height; ++y) {
            if (a.last[y] < 0) continue;
            for (int dy = -1; dy <= 1; ++dy) {
                const int yb = y + dy;
                if (yb < 0 || yb >= height || b.first[yb] < 0) continue;
                EXPECT_GE(b.first[yb] - a.last[y], 2) << "\"" << pair << "\" touch at row " << y;
            }
        }
        if (a.stemAt(true) && b.stemAt(false)) {
            EXPECT_GE(b.edge(false) - a.edge(true) - 1, 2) << "stems of \"" << pair << "\"";
        }
    }
}

// Every string the programs draw, placed as they place it and drawn through
// the library: neighbouring glyphs never touch, not even corner to corner;
// facing straight stems keep two blank columns between them; nothing runs
// off the 640-pixel window; and the menu's labels are what d_button_proc
// draws.
TEST_F(FontDatafile, EveryTextOnTheScreensKeepsItsGlyphsApart) {
    std::vector<PlacedText> texts;
    texts.push_back({kTilesBanner, kTilesBannerX, kTilesBannerY});
    for (int n = 1; n <= 15; ++n)
        texts.push_back({formatted(kAskNumber, n), kTilesStatusX, kTilesStatusY});
    for (int n = 1; n <= 15; ++n)
        texts.push_back({formatted(kBringing, n), kTilesStatusX, kTilesStatusY});
    for (int step = 0; step < kStepCount; ++step)
        texts.push_back({formatted(kGaveUp, step), kTilesStatusX, kTilesStatusY});
    texts.push_back({kTilesUnsolvable, kTilesStatusX, kTilesStatusY});
    texts.push_back({kTilesSolved, kTilesStatusX, kTilesStatusY});
    // The shortest solution: no position needs more than 80 moves.
    texts.push_back({kSeeking, kTilesStatusX, kTilesStatusY});
    texts.push_back({kSeekingAtLeastOne, kTilesStatusX, kTilesStatusY});
    for (int n = 2; n <= 80; ++n)
        texts.push_back({formatted(kSeekingAtLeast, n), kTilesStatusX, kTilesStatusY});
    for (int n = 1; n <= 80; ++n) {
        texts.push_back({formatted(kShortestMove, n, 80), kTilesStatusX, kTilesStatusY});
        texts.push_back({formatted(kShortestMove, n, n), kTilesStatusX, kTilesStatusY});
    }
    for (int n = 0; n <= 80; ++n)
        texts.push_back({formatted(kShortestSolved, n), kTilesStatusX, kTilesStatusY});
    texts.push_back({kHintShortest, kHintX, kHintY});
    texts.push_back({kHintRandom, kHintX, kHintY});
    texts.push_back({kCountersBanner, kCountersBannerX, kCountersBannerY});
    texts.push_back({kPlacingHelp, kStatusLeft, kStatusTop});
    texts.push_back({kSearching, kStatusNarrowLeft, kStatusTop});
    texts.push_back({kCountersUnsolvable, kStatusNarrowLeft, kStatusTop});
    texts.push_back({kCountersSolved, kStatusNarrowLeft, kStatusTop});

    BITMAP* bmp = create_bitmap_ex(8, 640, 480);
    for (const PlacedText& placed : texts) {
        clear_to_color(bmp, kPaper);
        textout_ex(bmp, font_, placed.text.c_str(), placed.left, placed.top, kInk, kPaper);
        expectLegible(bmp, font_, placed);
    }

    // Cell labels, centred on the cell's middle and kept inside its white
    // square; the first cell stands for all sixteen.
    const int middle = kBoardLeft + kCellSpan / 2;
    const int labelTop = kBoardTop + kCellSpan / 2 - text_height(font_) / 2;
    for (int n = 0; n <= 15; ++n) {
        const std::string label = n == 0 ? kUnplacedLabel : std::to_string(n);
        clear_to_color(bmp, kPaper);
        textout_centre_ex(bmp, font_, label.c_str(), middle, labelTop, kInk, kPaper);
        const int left = middle - text_length(font_, label.c_str()) / 2;
        expectLegible(bmp, font_, {label, left, labelTop});
        EXPECT_GT(left, kBoardLeft + 2) << label;
        EXPECT_LT(left + text_length(font_, label.c_str()) - 1, kBoardLeft + kCellSpan - 2)
            << label;
    }

    // The menu buttons, drawn by their own procedure (the library's
    // d_button_proc) with the datafile font as the global font, as the
    // programs run it.
    FONT* savedFont = font;
    font = font_;
    gui_set_screen(bmp);
    for (int entry : {kMenuNewGame, kMenuQuit}) {
        DIALOG button = MenuDialog[entry];
        button.fg = kInk;
        button.bg = kPaper;
        clear_to_color(bmp, kPaper);
        // object_message would lock the screen, and there is none here.
        button.proc(MSG_DRAW, &button, 0);

        std::string label;
        for (const char* c = static_cast<const char*>(button.dp); *c; ++c)
            if (*c != '&') label += *c;
        const PlacedText placed{label,
                                button.x + button.w / 2 - text_length(font_, label.c_str()) / 2,
                                button.y + button.h / 2 - text_height(font_) / 2};
        // The label's glyphs are where this test thinks they are.
        BITMAP* alone = create_bitmap_ex(8, 640, 480);
        clear_to_color(alone, kPaper);
        textout_ex(alone, font_, label.c_str(), placed.left, placed.top, kInk, -1);
        for (int y = placed.top; y < placed.top + text_height(font_); ++y)
            for (int x = placed.left; x < placed.left + text_length(font_, label.c_str()); ++x)
                ASSERT_EQ(getpixel(bmp, x, y), getpixel(alone, x, y))
                    << label << " at " << x << "," << y;
        destroy_bitmap(alone);
        expectLegible(bmp, font_, placed);
        EXPECT_GT(placed.left, button.x + 1);
        EXPECT_LT(placed.left + text_length(font_, label.c_str()), button.x + button.w - 2);
    }
    gui_set_screen(nullptr);
    font = savedFont;
    destroy_bitmap(bmp);
}
}  // namespace
