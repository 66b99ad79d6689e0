/* The timer driver: one thread, so the library's timers run when the
 * program waits. rest() hands the browser control for the time asked
 * (emscripten_sleep, which needs the program linked with ASYNCIFY) and then
 * runs every timer that fell due meanwhile; web_rest_until_input hands it
 * control until the next input event. Timers are handed the time that
 * passed only in those places, so two more keep the library's promise that
 * a timer first runs one period after it is installed: an input event
 * brings them up to its own time before the library sees it, and so does
 * installing one. Otherwise the wait before either would count as the new
 * timer's, and it would run once for every period of it at once. */
#include <emscripten.h>
#include <limits.h>

#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintweb.h"

static double lastTickMs;
static int runningTimers;

static void runDueTimers(void) {
   double now = emscripten_get_now();
   /* Whole timer ticks only; the rest of the time stays for the next call.
    * A wait for input may last longer than the half hour of ticks an int
    * holds: it is handed over in parts. */
   double due;
   while ((due = (now - lastTickMs) * (TIMERS_PER_SECOND / 1000.0)) >= 1) {
      int ticks = due < INT_MAX ? (int)due : INT_MAX;
      lastTickMs += ticks * (1000.0 / TIMERS_PER_SECOND);
      runningTimers = TRUE;
      _handle_timer_tick(ticks);
      runningTimers = FALSE;
   }
}

void _web_wait(unsigned int ms) {
   _web_show_screen();
   emscripten_sleep(ms);
   runDueTimers();
}

/* How long the library's timers must have run past the last input event
 * before a program may wait for the next one: the dialog manager's
 * double-click timer settles 240 to 260 ms after a release, and a dialog
 * waiting for it must see it settle as on the desktop. */
#define INPUT_SETTLE_MS 400

static double lastInputMs = -INPUT_SETTLE_MS;

/* The promise's continuation runs after the event's handler has returned,
 * so a program never runs in the middle of a handler: a press and its
 * release in one task still reach it together, as before. */
/* clang-format off */
EM_ASYNC_JS(void, webNextInput, (void), {
   await new Promise((resolve) => { Module.webInputWaiter = resolve; });
});
/* clang-format on */

/* clang-format off */
EM_JS(void, webWakeWaiter, (void), {
   const resolve = Module.webInputWaiter;
   Module.webInputWaiter = null;
   if (resolve) resolve();
});
/* clang-format on */

void _web_input_came(void) {
   runDueTimers();
   lastInputMs = emscripten_get_now();
   webWakeWaiter();
}

void web_rest_until_input(unsigned int ms) {
   if (lastTickMs - lastInputMs < INPUT_SETTLE_MS) {
      _web_wait(ms);
      return;
   }
   _web_show_screen();
   webNextInput();
   runDueTimers();
}

static int webInit(void) {
   lastTickMs = emscripten_get_now();
   return 0;
}

static void webExit(void) {}

/* Installing brings the running timers up to now first, then leaves the
 * rest to the library's own queue: with the driver's hook out of the way
 * for the call, the library queues the timer as it does for a driver
 * without one. A timer that a timer's callback installs again (the
 * library's key repeat does) keeps to its own schedule: the time handed
 * over is being counted already. */
static int webInstallInt(void (*proc)(void), long speed) {
   if (!runningTimers) runDueTimers();
   timer_web.install_int = NULL;
   int result = install_int_ex(proc, speed);
   timer_web.install_int = webInstallInt;
   return result;
}

static int webInstallParamInt(void (*proc)(void*), void* param, long speed) {
   if (!runningTimers) runDueTimers();
   timer_web.install_param_int = NULL;
   int result = install_param_int_ex(proc, param, speed);
   timer_web.install_param_int = webInstallParamInt;
   return result;
}

static void webRest(unsigned int ms, void (*callback)(void)) {
   if (!callback) {
      _web_wait(ms);
      return;
   }
   double end = emscripten_get_now() + ms;
   do {
      callback();
      _web_wait(0);
   } while (emscripten_get_now() < end);
}

/* clang-format off */
TIMER_DRIVER timer_web = {
   TIMER_WEB,
   empty_string,
   empty_string,
   "Browser timer",
   webInit,
   webExit,
   webInstallInt,
   NULL, /* remove_int: the library's own queue */
   webInstallParamInt,
   NULL, /* remove_param_int */
   NULL, NULL, /* can_simulate_retrace, simulate_retrace */
   webRest
};
/* clang-format on */
