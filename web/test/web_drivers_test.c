/* The browser's timer and keyboard drivers (web/platform), run under node
 * by scripts/test-web, against what the programs count on from the game
 * library: a timer first runs one period after it is installed and then
 * once a period, never in a burst for time that passed before it was
 * there, and never again once removed; a key pressed once is read once,
 * whatever the pause before it; a key held down is read as often as the
 * browser sends it, no more. Keys are typed through the listener the
 * keyboard driver sets on the window, as the page's events reach it.
 *
 * A run is early when it comes before its time by the clock the test
 * reads before installing, which a busy machine can only make later; a run
 * is missing when the timers were handed the time for it (a rest has
 * ended) and it did not come. Prints one line per failure and a count. */
#include <emscripten.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include "allegro.h"

/* The platform layer's file driver opens a program file; this test has none. */
const char _web_program_file_name[] = "/web_drivers_test";
const unsigned long _web_program_file_size = 0;
const unsigned char _web_program_file[1];

/* --- timers ---------------------------------------------------------------- */

enum { kMaxRuns = 200 };

/* The library counts a millisecond as TIMERS_PER_SECOND / 1000 whole ticks,
 * a little short of one. */
static const double kTickMs = 1000.0 / TIMERS_PER_SECOND;
static const double kLibraryMs = (TIMERS_PER_SECOND / 1000) * kTickMs;
/* Timers are handed whole ticks: up to one short of the time. */
static const double kTickSlackMs = 0.01;

typedef struct {
    const char* name;
    double periodMs;
    double installedAfter; /* the clock just before install_int */
    double installedBy;    /* and just after */
    int removed;
    int runs;
    int runsAfterRemoval;
    double runAt[kMaxRuns];
} Probe;

static Probe probes[2] = {{.name = "A"}, {.name = "B"}};
static int failures;
static int passes;

static void check(int ok, const char* what) {
    if (ok) {
        passes++;
    } else {
        failures++;
        printf("FAIL %s\n", what);
    }
}

static void runProbe(Probe* probe) {
    if (probe->removed) {
        probe->runsAfterRemoval++;
        return;
    }
    if (probe->runs < kMaxRuns) probe->runAt[probe->runs] = emscripten_get_now();
    probe->runs++;
}

static void runA(void) { runProbe(&probes[0]); }
static void runB(void) { runProbe(&probes[1]); }
static void (*const kRunProbe[])(void) = {runA, runB};

static void installProbe(int i, int periodMs) {
    Probe* probe = &probes[i];
    *probe = (Probe){.name = probe->name, .periodMs = periodMs};
    probe->installedAfter = emscripten_get_now();
    check(install_int(kRunProbe[i], periodMs) == 0, "install_int");
    probe->installedBy = emscripten_get_now();
}

static void removeProbe(int i) {
    remove_int(kRunProbe[i]);
    probes[i].removed = TRUE;
}

/* Every run came no sooner than its time, and every run that the time
 * handed to the timers by `handedBy` (by the clock) owed has come. */
static void checkProbe(int i, double handedBy, const char* what) {
    const Probe* probe = &probes[i];
    const double period = probe->periodMs * kLibraryMs;
    char line[200];
    for (int run = 0; run < probe->runs && run < kMaxRuns; run++) {
        double after = probe->runAt[run] - probe->installedAfter;
        snprintf(line, sizeof line,
                 "%s: timer %s (%g ms) ran for the %d. time %.1f ms after install_int", what,
                 probe->name, probe->periodMs, run + 1, after);
        check(after >= (run + 1) * period - kTickSlackMs, line);
    }
    int owed = (int)floor((handedBy - kTickSlackMs - probe->installedBy) / period);
    snprintf(line, sizeof line, "%s: timer %s (%g ms) ran %d times where %d were due", what,
             probe->name, probe->periodMs, probe->runs, owed);
    check(probe->runs >= owed, line);
}

/* rest(ms); returns a time by the clock that the timers have been handed
 * (rest(0) hands them the time up to when it is called, whenever the
 * longer rest ended). */
static double restFor(unsigned ms) {
    rest(ms);
    double handedBy = emscripten_get_now();
    rest(0);
    return handedBy;
}

static void busyFor(double ms) {
    double end = emscripten_get_now() + ms;
    while (emscripten_get_now() < end) {
    }
}

static void timersKeepTheirTimes(void) {
    installProbe(0, 100);
    checkProbe(0, restFor(350), "installed");

    removeProbe(0);
    rest(250);
    check(probes[0].runsAfterRemoval == 0, "removed: timer A ran again after remove_int");

    installProbe(0, 70);
    checkProbe(0, restFor(250), "installed again with another period");

    installProbe(1, 30);
    double handedBy = restFor(300);
    checkProbe(0, handedBy, "two at once");
    checkProbe(1, handedBy, "two at once");
    removeProbe(0);
    removeProbe(1);
    rest(150);
    check(probes[0].runsAfterRemoval == 0 && probes[1].runsAfterRemoval == 0,
          "two removed: a timer ran again after remove_int");

    /* The program computes between two rests: that time is not the new
     * timer's. */
    busyFor(150);
    installProbe(0, 100);
    checkProbe(0, restFor(60), "installed after the program was busy");
    removeProbe(0);
}

/* --- keys, typed through the page's listener -------------------------------- */

/* Node has no window: the keyboard driver listens to this one's events. */
/* clang-format off */
EM_JS(void, makeWindow, (void), {
    const listeners = {keydown: [], keyup: []};
    globalThis.window = {
        addEventListener: (type, f) => listeners[type].push(f),
        removeEventListener: (type, f) => listeners[type].splice(listeners[type].indexOf(f), 1),
    };
    Module.testKeysUnsent = 0;
    Module.testSend = (type, key, keyCode, repeat) => {
        const event = {type, key, keyCode, repeat, target: {closest: () => null}, preventDefault: () => {}};
        for (const f of listeners[type]) f(event);
    };
});
/* clang-format on */

/* The key pressed `afterMs` from now, sent again `repeats` times every
 * `repeatMs` as a browser repeats a held key, and let go `holdMs` after
 * it went down. */
/* clang-format off */
EM_JS(void, typeKey, (const char* keyName, int keyCode, int afterMs, int holdMs, int repeats, int repeatMs), {
    const key = UTF8ToString(keyName);
    Module.testKeysUnsent++;
    setTimeout(() => {
        Module.testSend("keydown", key, keyCode, false);
        for (let i = 1; i <= repeats; i++) setTimeout(() => Module.testSend("keydown", key, keyCode, true), i * repeatMs);
        setTimeout(() => {
            Module.testSend("keyup", key, keyCode, false);
            Module.testKeysUnsent--;
        }, holdMs);
    }, afterMs);
});
/* clang-format on */

EM_JS(int, keysUnsent, (void), { return Module.testKeysUnsent; });

/* Waits as the programs' idle pass does, sleeping until input comes once
 * the library has settled, until every key typed has been let go. */
static void waitForKeys(void) {
    while (keysUnsent() > 0) web_rest_until_input(50);
}

/* The keys in the library's buffer: how many, and whether all are `scancode`. */
static int readKeys(int scancode, int* others) {
    int count = 0;
    *others = 0;
    while (keypressed()) {
        if (readkey() >> 8 != scancode) (*others)++;
        count++;
    }
    return count;
}

/* The game keys, each pressed once after a pause (the first two short, the
 * rest long enough for the library to have settled and its program to
 * sleep until input). */
static const struct {
    const char* name; /* KeyboardEvent.key */
    const char* what;
    int keyCode;
    int scancode;
    int pauseMs;
} kPresses[] = {
    {"ArrowLeft", "Left", 37, KEY_LEFT, 50},
    {"ArrowRight", "Right", 39, KEY_RIGHT, 300},
    {"ArrowUp", "Up", 38, KEY_UP, 1000},
    {"ArrowDown", "Down", 40, KEY_DOWN, 1000},
    {"Enter", "Enter", 13, KEY_ENTER, 1000},
    {" ", "Space", 32, KEY_SPACE, 1000},
    {"v", "V", 86, KEY_V, 1000},
    {"m", "M", 77, KEY_M, 1000},
};

/* A key press installs timer B, as a handler of the library's may; it
 * counts from the press, not from when the program began to wait. */
static void installOnPress(int scancode) {
    if (!(scancode & 0x80) && probes[1].installedBy == 0) installProbe(1, 200);
}

enum { kInstallingPress = 2 }; /* one after a long pause */

static void keysReadOnce(void) {
    char line[200];
    int others;
    probes[1] = (Probe){.name = "B"};
    for (unsigned i = 0; i < sizeof kPresses / sizeof kPresses[0]; i++) {
        if (i == kInstallingPress) keyboard_lowlevel_callback = installOnPress;
        typeKey(kPresses[i].name, kPresses[i].keyCode, kPresses[i].pauseMs, 60, 0, 0);
        waitForKeys();
        int read = readKeys(kPresses[i].scancode, &others);
        snprintf(line, sizeof line, "%s pressed once after %d ms: read %d times, %d other keys",
                 kPresses[i].what, kPresses[i].pauseMs, read, others);
        check(read == 1 && others == 0, line);
        if (i == kInstallingPress) {
            keyboard_lowlevel_callback = NULL;
            check(probes[1].installedBy > 0, "a key's handler installed timer B");
            checkProbe(1, restFor(450), "installed by a key's handler while the program waited");
            removeProbe(1);
        }
    }

    /* Held for 600 ms, sent again every 40 ms. */
    typeKey("ArrowDown", 40, 1000, 600, 14, 40);
    waitForKeys();
    int read = readKeys(KEY_DOWN, &others);
    snprintf(line, sizeof line, "Down held, sent 15 times: read %d times, %d other keys", read,
             others);
    check(read == 15 && others == 0, line);
}

int main(void) {
    makeWindow();
    if (allegro_init() != 0 || install_timer() != 0 || install_keyboard() != 0) {
        printf("FAIL the library did not start: %s\n", allegro_error);
        return 1;
    }
    timersKeepTheirTimes();
    keysReadOnce();
    printf("%d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
