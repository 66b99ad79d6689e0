// Checks the committed font datafile through the library itself: what
// load_datafile makes of it and what textout_ex draws with it. No display is
// needed; glyphs are drawn into memory bitmaps and read back pixel by pixel.

#include <gtest/gtest.h>

#define ALLEGRO_NO_MAGIC_MAIN
#include <allegro.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

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
// Latin-1 byte in U_ASCII. The face is not the one the layout was first made
// with, so each may be a pixel off.
TEST_F(FontDatafile, DigitAndLetterWidthsAreWithinAPixelOfTheLayout) {
    const struct {
        const char* text;
        int width;
    } kWidths[] = {
        {"0", 13}, {"1", 7},  {"2", 13}, {"3", 12}, {"4", 13},    {"5", 12},    {"6", 13},
        {"7", 13}, {"8", 13}, {"9", 13}, {"?", 12}, {"\xe4", 12}, {"\xf5", 13}, {"\xfc", 11},
    };
    for (const auto& row : kWidths) {
        SCOPED_TRACE(std::string("glyph ") + row.text);
        EXPECT_NEAR(text_length(font_, row.text), row.width, 1);
        EXPECT_EQ(drawText(font_, row.text).width, text_length(font_, row.text));
    }
    EXPECT_EQ(text_length(font_, "15"), text_length(font_, "1") + text_length(font_, "5"));
}

TEST_F(FontDatafile, GlyphsSitOnOneBaseline) {
    const struct {
        int code;
        int topMin, topMax;  // first row with ink
        int bottom;          // last row with ink
    } kRows[] = {
        {'H', 5, 5, 22},   {'E', 5, 5, 22},   {'0', 5, 6, 22},   {'7', 5, 6, 22},
        {'x', 10, 10, 22}, {'u', 10, 10, 22}, {'n', 10, 10, 22}, {'g', 10, 10, 27},
        {'p', 10, 10, 27}, {'y', 10, 10, 27}, {0xC4, 0, 2, 22},  {0xD5, 0, 2, 22},
        {0xDC, 0, 2, 22},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE("code point " + std::to_string(row.code));
        const Cell cell = drawCode(font_, row.code);
        EXPECT_GE(cell.inkTop(), row.topMin);
        EXPECT_LE(cell.inkTop(), row.topMax);
        EXPECT_EQ(cell.inkBottom(), row.bottom);
    }
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

}  // namespace
