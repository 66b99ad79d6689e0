// What the page is told: JSON it can parse, whatever the texts hold.

#include "shell/screen_meaning.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ScreenMeaning, TextsAreEscapedAndALongMessageIsCutNotOverrun) {
    ScreenMeaning m;
    std::snprintf(m.status, sizeof m.status, "%s", "Ma enam ei oska :( \"x\\y\"\n");
    std::snprintf(m.hint, sizeof m.hint, "%s", "N - n\xe4ita");
    m.offer = 'N';
    m.cols = 2;
    m.rows = 1;
    std::snprintf(m.cells[0].name, sizeof m.cells[0].name, "%s", "Lahter 1: t\xfchi");
    m.cells[1] = {"B", 1, 2, 3, 4, 5, 6};
    m.cursor = 1;
    char out[512];
    const int n = screenMeaningJson(m, out, sizeof out);
    EXPECT_EQ(std::string(out, n),
              "{\"kind\":\"screen\",\"status\":\"Ma enam ei oska :( \\\"x\\\\y\\\"\\u000a\","
              "\"hint\":\"N - n\xe4ita\",\"offer\":\"N\","
              "\"cols\":2,\"rows\":1,\"cursor\":1,\"cells\":["
              "{\"name\":\"Lahter 1: t\xfchi\",\"left\":0,\"top\":0,\"right\":0,\"bottom\":0,"
              "\"x\":0,\"y\":0},"
              "{\"name\":\"B\",\"left\":1,\"top\":2,\"right\":3,\"bottom\":4,\"x\":5,\"y\":6}]}");

    ScreenMeaning none;
    const std::string plain(out, screenMeaningJson(none, out, sizeof out));
    EXPECT_NE(plain.find("\"hint\":\"\",\"offer\":\"\","), std::string::npos) << plain;

    char small[40];
    small[39] = 'Z';
    EXPECT_EQ(screenMeaningJson(m, small, 39), n) << "the length it would have had";
    EXPECT_EQ(small[38], '\0');
    EXPECT_EQ(small[39], 'Z');
}

// The page offers the program's key only while the menu is up.
TEST(ScreenMeaning, MenuButtonsAreNamedWithoutTheShortcutMarkAndTheOfferOnlyWhileUp) {
    const MenuButtonPlace buttons[] = {{"&Uus m\xe4ng", 25, 360, 150, 32},
                                       {"&L\xf5peta", 25, 400, 150, 32}};
    char out[512];
    const int n = menuMeaningJson(true, 'N', buttons, 2, out, sizeof out);
    EXPECT_EQ(std::string(out, n),
              "{\"kind\":\"menu\",\"up\":true,\"offer\":\"N\",\"buttons\":["
              "{\"name\":\"Uus m\xe4ng\",\"left\":25,\"top\":360,\"right\":174,\"bottom\":391,"
              "\"x\":100,\"y\":376},"
              "{\"name\":\"L\xf5peta\",\"left\":25,\"top\":400,\"right\":174,\"bottom\":431,"
              "\"x\":100,\"y\":416}]}");
    const int down = menuMeaningJson(false, 'N', buttons, 2, out, sizeof out);
    EXPECT_EQ(std::string(out, down).rfind("{\"kind\":\"menu\",\"up\":false,\"offer\":\"\",", 0),
              0u);
}

}  // namespace
