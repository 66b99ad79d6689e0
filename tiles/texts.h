#pragma once
// What tiles writes on its screen and where, Latin-1. Shared with the font
// tests, which draw every one of them as the screen does.

constexpr char kTilesBanner[] = "* TORVANE *";
constexpr char kAskNumber[] = "Paigutage lauale arv %d.";
constexpr char kBringing[] = "Viin numbrit %d oma kohale.";
constexpr char kTilesUnsolvable[] = "See seis ei ole lahenduv!.";
constexpr char kTilesSolved[] = "Lahendatud!.";
constexpr char kGaveUp[] = "Ma enam ei oska :( (samm %d)";
constexpr char kUnplacedLabel[] = "?";

// The shortest solution: while the search runs longer than a redraw, before
// its first bound and then with the bound it has passed; each move played,
// of how many; the end.
constexpr char kSeeking[] = "Otsin l\xfchimat lahendust.";
constexpr char kSeekingAtLeast[] = "Otsin: l\xfchim on v\xe4hemalt %d k\xe4iku.";
constexpr char kSeekingAtLeastOne[] = "Otsin: l\xfchim on v\xe4hemalt 1 k\xe4ik.";
constexpr char kShortestMove[] = "L\xfchim lahendus: k\xe4ik %d/%d.";
constexpr char kShortestSolved[] = "Lahendatud %d k\xe4iguga!.";

// The hint line at the menu after a game whose position can be solved.
constexpr char kHintShortest[] = "N - n\xe4ita l\xfchimat lahendust";

constexpr int kTilesBannerX = 25, kTilesBannerY = 35;
constexpr int kTilesStatusX = 250, kTilesStatusY = 400;

// The cells as the page names them to a screen reader: row, column, content.
constexpr char kCellName[] = "Rida %d, veerg %d: %s";
constexpr char kCellUnplacedName[] = "paigutamata";
constexpr char kCellBlankName[] = "t\xfchi";
