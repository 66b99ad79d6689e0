// The counters icon: the finished row, every white counter left of every
// black one, drawn by the program's own screen code.
//
//   counters_icon FONT.dat OUT-DIR NAME [WINDOWS-ICON]
//   counters_icon FONT.dat --web PREFIX
//
// The arguments are explained in tools/icons/icon_picture.h.

#include <allegro.h>

#include "counters/row.h"
#include "counters/screen.h"
#include "counters/search.h"
#include "tools/icons/icon_picture.h"

int main(int argc, char** argv) {
    startIconTool(argc, argv);
    Row row;
    const int finished[kRowLength] = {kWhiteCounter, kWhiteCounter, kWhiteCounter, kEmptyCell,
                                      kBlackCounter, kBlackCounter, kBlackCounter};
    for (int k = 0; k < kRowLength; ++k) row[k] = finished[k];
    GameState = Solved;
    bestDepth = 9;
    drawScreen(row);
    // The row with its frame.
    writeAskedIcons(argc, argv, 210, 200, 582, 260);
    return 0;
}
END_OF_MAIN()
