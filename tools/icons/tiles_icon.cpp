// The tiles icon: the solved board, drawn by the program's own screen code.
//
//   tiles_icon FONT.dat OUT-DIR NAME [WINDOWS-ICON]
//   tiles_icon FONT.dat --web PREFIX
//
// With WINDOWS-ICON, also the icon file the Windows program carries. With
// --web, the web app's icons PREFIX-*.png and PREFIX.ico, the page's icon.

#include <allegro.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tiles/board.h"
#include "tiles/screen.h"
#include "tools/icons/icon_picture.h"

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fputs(
            "usage: tiles_icon FONT.dat OUT-DIR NAME [WINDOWS-ICON]\n"
            "       tiles_icon FONT.dat --web PREFIX\n",
            stderr);
        return 2;
    }
    startMemoryScreen(argv[1]);
    Board board;
    board.reset();
    for (int i = 0; i < kCellCount - 1; ++i)
        board.cells[cellIndex(i % kBoardSide, i / kBoardSide)] = i + 1;
    board.cells[cellIndex(kBoardSide - 1, kBoardSide - 1)] = kBlank;
    GameState = Solved;
    drawScreen(board);
    // The board with its frame bars.
    if (argc == 4 && std::strcmp(argv[2], "--web") == 0) {
        writeWebIcons(210, 100, 485, 375, argv[3]);
        writeWindowsIcon(210, 100, 485, 375, std::string(argv[3]) + ".ico");
        return 0;
    }
    writeIcons(210, 100, 485, 375, argv[2], argv[3]);
    if (argc == 5) writeWindowsIcon(210, 100, 485, 375, argv[4]);
    return 0;
}
END_OF_MAIN()
