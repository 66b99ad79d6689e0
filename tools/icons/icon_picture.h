#pragma once
// The launcher icons are the programs' own pictures: each icon tool draws
// its program's finished screen with the program's drawing code into a
// memory bitmap that stands in for the screen, then scales a part of it
// down to the icon sizes.

#include <string>

// Starts the library without a display or window and makes `screen` a
// white 640x480 memory bitmap, with `font` loaded from the font datafile
// and the opaque white text background the programs draw on. Exits with a
// message on failure.
void startMemoryScreen(const std::string& fontDatafile);

// Writes OUT/<N>x<N>/apps/<name>.png for N = 48, 64, 128 and 256: the
// screen's rectangle (x1, y1)-(x2, y2), corners included, scaled to fit the
// icon with a small margin and centred; the rest of the icon is transparent.
void writeIcons(int x1, int y1, int x2, int y2, const std::string& outDir, const std::string& name);

// Writes the web app's icons PREFIX-192.png and PREFIX-512.png, drawn as
// writeIcons draws, and PREFIX-maskable-192.png and PREFIX-maskable-512.png,
// opaque, with the picture inside the part that a launcher's mask keeps.
void writeWebIcons(int x1, int y1, int x2, int y2, const std::string& prefix);

// Writes a Windows icon file (.ico) of the same rectangle with the sizes
// Windows asks for: 16, 32 and 48 pixels as bitmaps, 256 as a PNG.
void writeWindowsIcon(int x1, int y1, int x2, int y2, const std::string& path);

// What both icon tools take on their command line:
//   TOOL FONT.dat OUT-DIR NAME [WINDOWS-ICON]   the launcher icons (writeIcons)
//                                               and the Windows icon file;
//   TOOL FONT.dat --web PREFIX                  the web app's icons and
//                                               PREFIX.ico, the page's icon.
// startIconTool checks the arguments (a usage message and exit status 2
// when they do not fit) and starts the memory screen; once the tool has
// drawn, writeAskedIcons writes what they ask for from the rectangle.
void startIconTool(int argc, char** argv);
void writeAskedIcons(int argc, char** argv, int x1, int y1, int x2, int y2);
