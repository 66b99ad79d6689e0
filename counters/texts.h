#pragma once
// What counters writes on its screen and where, Latin-1. Shared with the
// font tests, which draw every one of them as the screen does.

constexpr char kCountersBanner[] = "-=# MURAK #=-";
constexpr char kPlacingHelp[] = "Vasak nupp - valge, parem nupp - must.";
constexpr char kSearching[] = "Lahendan.";
constexpr char kCountersUnsolvable[] = "See seis ei ole lahenduv!.";
constexpr char kCountersSolved[] = "Lahendatud!.";

constexpr int kCountersBannerX = 25, kCountersBannerY = 35;
// The placing line is long and starts further left than the others.
constexpr int kStatusLeft = 220;
constexpr int kStatusNarrowLeft = 250;
constexpr int kStatusTop = 400;

// The cells as the page names them to a screen reader: place, content.
constexpr char kCounterCellName[] = "Lahter %d: %s";
constexpr char kWhiteName[] = "valge";
constexpr char kBlackName[] = "must";
constexpr char kEmptyName[] = "t\xfchi";

// The inside of cell k, between the frame and the separators, runs from
// x = kCellInsideLeft + 52k for kCellInsideWidth pixels, and from
// kCellInsideTop to kCellInsideBottom.
constexpr int kCellInsideLeft = 216;
constexpr int kCellInsideWidth = 49;
constexpr int kCellInsideTop = 206;
constexpr int kCellInsideBottom = 254;
