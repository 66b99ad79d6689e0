#include "icon_picture.h"

#include <allegro.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// Kept for the whole run: `font` points into the datafile, and the
// library's exit handler forgets `screen` without freeing it. Outside the
// unnamed namespace, so that the stores stay and a leak check sees both as
// live.
DATAFILE* iconFontData = nullptr;
BITMAP* iconScreen = nullptr;

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "icon: %s\n", what.c_str());
    std::exit(1);
}

// The programs draw nothing but black and white, so one grey channel holds
// the picture; the scaled edges become greys.
struct Grey {
    int width = 0;
    int height = 0;
    std::vector<double> value;  // 0 black .. 1 white
    double& at(int x, int y) { return value[y * width + x]; }
};

// Area-averaging resample along one axis: each target pixel is the mean of
// the source span it covers, partial source pixels weighted by their share.
// Nearest-neighbour scaling would drop the 3-pixel borders at small sizes.
std::vector<double> resampleLine(const std::vector<double>& src, int to) {
    std::vector<double> out(to, 0.0);
    double step = static_cast<double>(src.size()) / to;
    for (int i = 0; i < to; ++i) {
        double from = i * step, until = (i + 1) * step, sum = 0.0;
        for (int s = static_cast<int>(from); s < static_cast<int>(std::ceil(until)); ++s) {
            double cover = std::min<double>(s + 1, until) - std::max<double>(s, from);
            sum += src[s] * cover;
        }
        out[i] = sum / step;
    }
    return out;
}

Grey scaled(Grey src, int width, int height) {
    Grey rows;
    rows.width = width;
    rows.height = src.height;
    rows.value.resize(width * src.height);
    for (int y = 0; y < src.height; ++y) {
        std::vector<double> line(src.value.begin() + y * src.width,
                                 src.value.begin() + (y + 1) * src.width);
        std::vector<double> out = resampleLine(line, width);
        std::copy(out.begin(), out.end(), rows.value.begin() + y * width);
    }
    Grey out;
    out.width = width;
    out.height = height;
    out.value.resize(width * height);
    for (int x = 0; x < width; ++x) {
        std::vector<double> column(src.height);
        for (int y = 0; y < src.height; ++y) column[y] = rows.at(x, y);
        std::vector<double> col = resampleLine(column, height);
        for (int y = 0; y < height; ++y) out.at(x, y) = col[y];
    }
    return out;
}

void putBigEndian(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

void putChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    putBigEndian(out,
                 static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// An 8-bit PNG of a square picture, grey and alpha (colour type 4) or RGBA
// (6); no time or text chunks, so the same picture always gives the same
// bytes.
std::vector<unsigned char> encodePng(int size, const std::vector<unsigned char>& pixels,
                                     int colourType) {
    const size_t rowBytes = pixels.size() / size;
    std::vector<unsigned char> raw;
    for (int y = 0; y < size; ++y) {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), pixels.begin() + y * rowBytes, pixels.begin() + (y + 1) * rowBytes);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
        Z_OK)
        fail("cannot compress an icon");
    packed.resize(packedSize);

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<unsigned char> header;
    putBigEndian(header, size);
    putBigEndian(header, size);
    header.insert(header.end(), {8, static_cast<unsigned char>(colourType), 0, 0, 0});
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", packed);
    putChunk(png, "IEND", {});
    return png;
}

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() ||
        std::fclose(f) != 0)
        fail("cannot write " + path);
}

void makeDirectories(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) fail("cannot create " + part);
        if (slash == std::string::npos) break;
    }
}

// The screen's rectangle (x1, y1)-(x2, y2), corners included.
Grey screenPart(int x1, int y1, int x2, int y2) {
    Grey picture;
    picture.width = x2 - x1 + 1;
    picture.height = y2 - y1 + 1;
    picture.value.resize(picture.width * picture.height);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.at(x, y) = getg(getpixel(screen, x1 + x, y1 + y)) / 255.0;
    return picture;
}

// The picture scaled to width x height and centred on a size x size icon,
// as grey and alpha bytes; around it the icon is transparent, or white when
// `opaque` (a maskable icon, which a launcher crops to a shape of its own).
std::vector<unsigned char> placedGreyAlpha(const Grey& picture, int size, int width, int height,
                                           bool opaque) {
    Grey small = scaled(picture, width, height);
    int left = (size - width) / 2, top = (size - height) / 2;
    std::vector<unsigned char> greyAlpha(size * size * 2, 0);
    if (opaque)
        for (size_t i = 0; i < greyAlpha.size(); i += 2) greyAlpha[i] = greyAlpha[i + 1] = 255;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &greyAlpha[((top + y) * size + left + x) * 2];
            // Lines one pixel wide cover a tenth of a small icon's pixel;
            // darkening partial ink keeps the white counters' rings seen.
            double ink = std::sqrt(std::clamp(1.0 - small.at(x, y), 0.0, 1.0));
            p[0] = static_cast<unsigned char>(std::lround((1.0 - ink) * 255));
            p[1] = 255;
        }
    }
    return greyAlpha;
}

// The picture scaled to fit a size x size icon with a small margin and
// centred; the rest of the icon is transparent.
std::vector<unsigned char> iconGreyAlpha(const Grey& picture, int size) {
    int room = size - 2 * (size / 16);
    int width = room, height = room;
    if (picture.width > picture.height) {
        height = std::max(1, static_cast<int>(std::lround(static_cast<double>(room) *
                                                          picture.height / picture.width)));
    } else {
        width = std::max(1, static_cast<int>(std::lround(static_cast<double>(room) * picture.width /
                                                         picture.height)));
    }
    return placedGreyAlpha(picture, size, width, height, false);
}

// A maskable icon: opaque white, the picture's corners on the circle of
// 40 % of the size around the middle, the part that every launcher's mask
// (circle, squircle, rounded square) keeps.
std::vector<unsigned char> maskableGreyAlpha(const Grey& picture, int size) {
    double diagonal = std::hypot(picture.width, picture.height);
    double scale = 0.8 * size / diagonal;
    int width = static_cast<int>(std::floor(picture.width * scale));
    int height = static_cast<int>(std::floor(picture.height * scale));
    return placedGreyAlpha(picture, size, std::max(1, width), std::max(1, height), true);
}

void putLittleEndian(std::vector<unsigned char>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// One image of a Windows icon file: a 32-bit bitmap with its transparency
// mask, bottom row first, as Windows has read icons since its first
// versions.
std::vector<unsigned char> iconBitmap(int size, const std::vector<unsigned char>& greyAlpha) {
    std::vector<unsigned char> out;
    const int maskRowBytes = (size + 31) / 32 * 4;
    putLittleEndian(out, 40, 4);        // size of the header
    putLittleEndian(out, size, 4);      // width
    putLittleEndian(out, 2 * size, 4);  // height of colours and mask together
    putLittleEndian(out, 1, 2);         // planes
    putLittleEndian(out, 32, 2);        // bits per pixel
    putLittleEndian(out, 0, 4);         // no compression
    putLittleEndian(out, size * size * 4 + maskRowBytes * size, 4);
    out.insert(out.end(), 16, 0);  // resolution and palette: none
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            const unsigned char* p = &greyAlpha[(y * size + x) * 2];
            out.insert(out.end(), {p[0], p[0], p[0], p[1]});  // blue, green, red, alpha
        }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<unsigned char> row(maskRowBytes, 0);
        for (int x = 0; x < size; ++x)
            if (greyAlpha[(y * size + x) * 2 + 1] == 0) row[x / 8] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

void startMemoryScreen(const std::string& fontDatafile) {
    set_uformat(U_ASCII);
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) fail("cannot start the library");
    // The programs' redraws wait for a retrace through the graphics driver;
    // a driver that does nothing lets them draw without a display.
    static GFX_DRIVER noDisplay{};
    gfx_driver = &noDisplay;
    set_color_depth(32);
    iconScreen = create_bitmap(640, 480);
    screen = iconScreen;
    if (screen == nullptr) fail("no memory for the screen");
    clear_to_color(screen, makecol(255, 255, 255));
    iconFontData = load_datafile(fontDatafile.c_str());
    if (iconFontData == nullptr || iconFontData[0].type != DAT_FONT)
        fail("cannot load " + fontDatafile);
    font = static_cast<FONT*>(iconFontData[0].dat);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    text_mode(makecol(255, 255, 255));
#pragma GCC diagnostic pop
}

void writeIcons(int x1, int y1, int x2, int y2, const std::string& outDir,
                const std::string& name) {
    const Grey picture = screenPart(x1, y1, x2, y2);
    for (int size : {48, 64, 128, 256}) {
        std::string dir =
            outDir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        makeDirectories(dir);
        writeFile(dir + "/" + name + ".png", encodePng(size, iconGreyAlpha(picture, size), 4));
    }
}

void writeWebIcons(int x1, int y1, int x2, int y2, const std::string& prefix) {
    const Grey picture = screenPart(x1, y1, x2, y2);
    for (int size : {192, 512}) {
        std::string suffix = std::to_string(size) + ".png";
        writeFile(prefix + "-" + suffix, encodePng(size, iconGreyAlpha(picture, size), 4));
        writeFile(prefix + "-maskable-" + suffix,
                  encodePng(size, maskableGreyAlpha(picture, size), 4));
    }
}

void writeWindowsIcon(int x1, int y1, int x2, int y2, const std::string& path) {
    const Grey picture = screenPart(x1, y1, x2, y2);
    const int sizes[] = {16, 32, 48, 256};
    std::vector<std::vector<unsigned char>> images;
    for (int size : sizes) {
        std::vector<unsigned char> greyAlpha = iconGreyAlpha(picture, size);
        if (size < 256) {
            images.push_back(iconBitmap(size, greyAlpha));
        } else {
            // The largest image as a PNG, the form Windows reads it in.
            std::vector<unsigned char> rgba;
            for (size_t i = 0; i < greyAlpha.size(); i += 2)
                rgba.insert(rgba.end(),
                            {greyAlpha[i], greyAlpha[i], greyAlpha[i], greyAlpha[i + 1]});
            images.push_back(encodePng(size, rgba, 6));
        }
    }
    std::vector<unsigned char> ico;
    putLittleEndian(ico, 0, 2);  // reserved
    putLittleEndian(ico, 1, 2);  // an icon, not a cursor
    putLittleEndian(ico, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        ico.push_back(static_cast<unsigned char>(sizes[i] % 256));  // 0 stands for 256
        ico.push_back(static_cast<unsigned char>(sizes[i] % 256));
        putLittleEndian(ico, 0, 2);   // no palette, reserved
        putLittleEndian(ico, 1, 2);   // planes
        putLittleEndian(ico, 32, 2);  // bits per pixel
        putLittleEndian(ico, static_cast<std::uint32_t>(images[i].size()), 4);
        putLittleEndian(ico, offset, 4);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images) ico.insert(ico.end(), image.begin(), image.end());
    writeFile(path, ico);
}

namespace {

bool asksForWebIcons(int argc, char** argv) {
    return argc == 4 && std::strcmp(argv[2], "--web") == 0;
}

}  // namespace

void startIconTool(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr,
                     "usage: %s FONT.dat OUT-DIR NAME [WINDOWS-ICON]\n"
                     "       %s FONT.dat --web PREFIX\n",
                     argv[0], argv[0]);
        std::exit(2);
    }
    startMemoryScreen(argv[1]);
}

void writeAskedIcons(int argc, char** argv, int x1, int y1, int x2, int y2) {
    if (asksForWebIcons(argc, argv)) {
        writeWebIcons(x1, y1, x2, y2, argv[3]);
        writeWindowsIcon(x1, y1, x2, y2, std::string(argv[3]) + ".ico");
        return;
    }
    writeIcons(x1, y1, x2, y2, argv[2], argv[3]);
    if (argc == 5) writeWindowsIcon(x1, y1, x2, y2, argv[4]);
}
