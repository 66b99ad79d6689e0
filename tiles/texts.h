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

constexpr int kTilesBannerX = 25, kTilesBannerY = 35;
constexpr int kTilesStatusX = 250, kTilesStatusY = 400;

// The cells as the page names them to a screen reader: row, column, content.
constexpr char kCellName[] = "Rida %d, veerg %d: %s";
constexpr char kCellUnplacedName[] = "paigutamata";
constexpr char kCellBlankName[] = "t\xfchi";
