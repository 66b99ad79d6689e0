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
