// The counters icon: the finished row, every white counter left of every
// black one, drawn by the program's own screen code.
//
//   counters_icon FONT.dat OUT-DIR NAME [WINDOWS-ICON]
//   counters_icon FONT.dat --web PREFIX
//
// With WINDOWS-ICON, also the icon file the Windows program carries. With
// --web, the web app's icons PREFIX-*.png and PREFIX.ico, the page's icon.

#include <allegro.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "counters/row.h"
#include "counters/screen.h"
#include "counters/search.h"
#include "tools/icons/icon_picture.h"

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fputs(
            "usage: counters_icon FONT.dat OUT-DIR NAME [WINDOWS-ICON]\n"
            "       counters_icon FONT.dat --web PREFIX\n",
            stderr);
        return 2;
    }
    startMemoryScreen(argv[1]);
    Row row;
    const int finished[kRowLength] = {kWhiteCounter, kWhiteCounter, kWhiteCounter, kEmptyCell,
                                      kBlackCounter, kBlackCounter, kBlackCounter};
    for (int k = 0; k < kRowLength; ++k) row[k] = finished[k];
    GameState = Solved;
    bestDepth = 9;
    drawScreen(row);
    // The row with its frame.
    if (argc == 4 && std::strcmp(argv[2], "--web") == 0) {
        writeWebIcons(210, 200, 582, 260, argv[3]);
        writeWindowsIcon(210, 200, 582, 260, std::string(argv[3]) + ".ico");
        return 0;
    }
    writeIcons(210, 200, 582, 260, argv[2], argv[3]);
    if (argc == 5) writeWindowsIcon(210, 200, 582, 260, argv[4]);
    return 0;
}
END_OF_MAIN()
