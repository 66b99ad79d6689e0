/* The mouse and keyboard drivers, fed from the page's DOM events through
 * the library's own entry points, as the desktop drivers feed it from
 * theirs. Events arrive only while the program yields, so the program sees
 * them between two of its reads, as it would on the desktop. Each one first
 * brings the library's timers up to its own time, so that what the timers
 * read and what its handler installs date from then, and wakes a program
 * that waits for input. */
#include <emscripten.h>

#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintweb.h"

/* --- mouse ----------------------------------------------------------------- */

EMSCRIPTEN_KEEPALIVE void webMouse(int x, int y, int buttons) {
   _web_input_came();
   _mouse_x = x;
   _mouse_y = y;
   _mouse_b = buttons;
   _mouse_on = TRUE;
   _handle_mouse_input();
}

/* Pointer events on the canvas, in screen pixels whatever its size on the
 * page. A mouse reports its buttons as the library numbers them (1 left,
 * 2 right, 4 middle). A finger is the left button for a tap, and the right
 * one once it has stayed down for kLongPressMs: a phone or tablet can then
 * place black counters. The context menu would take the right button. */
/* clang-format off */
EM_JS(void, webListenToPointer, (void), {
   const kLongPressMs = 500;
   const canvas = Module["canvas"];
   let touch = null;
   const send = (e, buttons) => {
      const r = canvas.getBoundingClientRect();
      const x = Math.floor((e.clientX - r.left) * canvas.width / r.width);
      const y = Math.floor((e.clientY - r.top) * canvas.height / r.height);
      _webMouse(Math.min(Math.max(x, 0), canvas.width - 1), Math.min(Math.max(y, 0), canvas.height - 1), buttons);
   };
   const endTouch = (e, tapped) => {
      clearTimeout(touch.timer);
      if (tapped && !touch.held) send(e, 1);
      send(e, 0);
      touch = null;
   };
   const handlers = {
      pointerdown: (e) => {
         e.preventDefault();
         // Releases outside the canvas still reach it. (A made-up event
         // has no pointer to capture.)
         try {
            canvas.setPointerCapture(e.pointerId);
         } catch (notCaptured) {
         }
         if (e.pointerType !== "touch") return send(e, e.buttons & 7);
         if (touch) return;
         touch = {id: e.pointerId, last: e, held: false};
         send(e, 0);
         touch.timer = setTimeout(() => {
            touch.held = true;
            send(touch.last, 2);
         }, kLongPressMs);
      },
      pointermove: (e) => {
         if (e.pointerType !== "touch") return send(e, e.buttons & 7);
         if (!touch || touch.id !== e.pointerId) return;
         touch.last = e;
         send(e, touch.held ? 2 : 0);
      },
      pointerup: (e) => {
         if (e.pointerType !== "touch") return send(e, e.buttons & 7);
         if (touch && touch.id === e.pointerId) endTouch(e, true);
      },
      pointercancel: (e) => {
         if (e.pointerType !== "touch") return send(e, 0);
         if (touch && touch.id === e.pointerId) endTouch(e, false);
      },
      contextmenu: (e) => e.preventDefault(),
   };
   for (const name in handlers) canvas.addEventListener(name, handlers[name]);
   Module.webPointerHandlers = handlers;
});
/* clang-format on */

/* clang-format off */
EM_JS(void, webStopListeningToPointer, (void), {
   const handlers = Module.webPointerHandlers;
   for (const name in handlers) Module["canvas"].removeEventListener(name, handlers[name]);
});
/* clang-format on */

static int webMouseInit(void) {
   webListenToPointer();
   return 3;
}

static void webMouseExit(void) { webStopListeningToPointer(); }

static void webMousePosition(int x, int y) {
   _mouse_x = x;
   _mouse_y = y;
}

/* clang-format off */
MOUSE_DRIVER mouse_web = {
   MOUSE_WEB,
   empty_string,
   empty_string,
   "Pointer events",
   webMouseInit,
   webMouseExit,
   NULL, /* poll: events come by themselves */
   NULL, /* timer_poll */
   webMousePosition,
   NULL, /* set_range */
   NULL, /* set_speed */
   NULL, /* get_mickeys */
   NULL, /* analyse_data */
   NULL, /* enable_hardware_cursor */
   NULL  /* select_system_cursor */
};
/* clang-format on */

/* --- keyboard -------------------------------------------------------------- */

/* The library's scancodes for the DOM's key codes (KeyboardEvent.keyCode):
 * the keys the menu answers to, and letters and digits. Not Tab: on a page
 * it moves the focus through the page's controls. */
/* clang-format off */
static const struct {
   int domCode;
   int scancode;
} kKeys[] = {
   {27, KEY_ESC},  {13, KEY_ENTER}, {32, KEY_SPACE},
   {8, KEY_BACKSPACE}, {37, KEY_LEFT}, {38, KEY_UP}, {39, KEY_RIGHT},
   {40, KEY_DOWN}, {36, KEY_HOME}, {35, KEY_END},
};
/* clang-format on */

static int scancodeOf(int domCode) {
   if (domCode >= 65 && domCode <= 90) return KEY_A + domCode - 65;
   if (domCode >= 48 && domCode <= 57) return KEY_0 + domCode - 48;
   for (unsigned i = 0; i < sizeof kKeys / sizeof kKeys[0]; i++)
      if (kKeys[i].domCode == domCode) return kKeys[i].scancode;
   return 0;
}

/* True when the key is one of the library's, so the page should not act on
 * it as well (Space would scroll). */
EMSCRIPTEN_KEEPALIVE int webKey(int domCode, int character, int down) {
   int scancode = scancodeOf(domCode);
   if (scancode == 0) return FALSE;
   _web_input_came();
   if (down) {
      _handle_key_press(character, scancode);
   } else {
      _handle_key_release(scancode);
   }
   return TRUE;
}

/* The character a key types, when it is a Latin-1 one. Keys typed on one
 * of the page's own controls (a button, a link) are the control's: the
 * program has the keys while the page's focus is on nothing else, or on
 * the program's screen. */
/* clang-format off */
EM_JS(void, webListenToKeys, (void), {
   const special = {Escape: 27, Enter: 13, Backspace: 8};
   const handler = (e) => {
      if (e.target.closest && e.target.closest("a[href], button, input, select, textarea")) return;
      let character = 0;
      if (e.key.length === 1 && e.key.charCodeAt(0) < 256) character = e.key.charCodeAt(0);
      else if (e.key in special) character = special[e.key];
      if (_webKey(e.keyCode, character, e.type === "keydown")) e.preventDefault();
   };
   window.addEventListener("keydown", handler);
   window.addEventListener("keyup", handler);
   Module.webKeyHandler = handler;
});
/* clang-format on */

/* clang-format off */
EM_JS(void, webStopListeningToKeys, (void), {
   window.removeEventListener("keydown", Module.webKeyHandler);
   window.removeEventListener("keyup", Module.webKeyHandler);
});
/* clang-format on */

static int webKeyboardInit(void) {
   webListenToKeys();
   return 0;
}

static void webKeyboardExit(void) { webStopListeningToKeys(); }

/* A key held down repeats as the browser sends it again, at the pace the
 * system's keyboard settings give it, as the X11 driver's keys do: the
 * driver does not ask the library to repeat keys with its own timer
 * (`autorepeat` TRUE would), which would repeat them twice over. */
/* clang-format off */
KEYBOARD_DRIVER keyboard_web = {
   KEYBOARD_WEB,
   empty_string,
   empty_string,
   "Key events",
   FALSE, /* autorepeat: the browser's */
   webKeyboardInit,
   webKeyboardExit,
   NULL, /* poll */
   NULL, /* set_leds */
   NULL, /* set_rate */
   NULL, /* wait_for_input */
   NULL, /* stop_waiting_for_input */
   NULL, /* scancode_to_ascii */
   NULL  /* scancode_to_name */
};
/* clang-format on */
