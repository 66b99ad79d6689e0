// The tiles icon: the solved board, drawn by the program's own screen code.
//
//   tiles_icon FONT.dat OUT-DIR NAME [WINDOWS-ICON]
//   tiles_icon FONT.dat --web PREFIX
//
// The arguments are explained in tools/icons/icon_picture.h.

#include <allegro.h>

#include "tiles/board.h"
#include "tiles/screen.h"
#include "tools/icons/icon_picture.h"

int main(int argc, char** argv) {
    startIconTool(argc, argv);
    Board board;
    board.reset();
    for (int i = 0; i < kCellCount - 1; ++i)
        board.cells[cellIndex(i % kBoardSide, i / kBoardSide)] = i + 1;
    board.cells[cellIndex(kBoardSide - 1, kBoardSide - 1)] = kBlank;
    GameState = Solved;
    drawScreen(board);
    // The board with its frame bars.
    writeAskedIcons(argc, argv, 210, 100, 485, 375);
    return 0;
}
END_OF_MAIN()
