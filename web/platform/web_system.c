/* The system driver: the page is the program's window and its console. */
#include <emscripten.h>

#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintweb.h"

/* The program's name, as the page's script gives it (Module.thisProgram):
 * the name under which web_file.c holds the program file, with its appended
 * font, so load_datafile("#") finds it as on the desktop. */
/* clang-format off */
EM_JS(void, webProgramName, (char* out, int size), {
   stringToUTF8(thisProgram, out, size);
});
/* clang-format on */

/* Texts are Latin-1 bytes (the programs run in U_ASCII); each byte is the
 * character of the same number. The window's title is the page's, unless
 * the page has one of its own (a game page names its game). */
/* clang-format off */
EM_JS(void, webSetTitle, (const char* latin1), {
   let text = "";
   for (let p = latin1; HEAPU8[p] != 0; p++) text += String.fromCharCode(HEAPU8[p]);
   if (document.title === "") document.title = text;
});
/* clang-format on */

/* The page shows the message where the screen was (Module.showMessage);
 * a page without that hook gets it as a paragraph of its own. */
/* clang-format off */
EM_JS(void, webShowMessage, (const char* latin1), {
   let text = "";
   for (let p = latin1; HEAPU8[p] != 0; p++) text += String.fromCharCode(HEAPU8[p]);
   if (Module["showMessage"]) {
      Module["showMessage"](text);
   } else {
      const p = document.createElement("p");
      p.textContent = text;
      document.body.appendChild(p);
   }
});
/* clang-format on */

static int webInit(void) {
   os_type = OSTYPE_UNKNOWN;
   return 0;
}

static void webExit(void) {}

static void webGetExecutableName(char* output, int size) { webProgramName(output, size); }

static void webMessage(AL_CONST char* msg) { webShowMessage(msg); }

static int webDesktopColorDepth(void) { return 32; }

static int webDesktopResolution(int* width, int* height) {
   *width = 640;
   *height = 480;
   return 0;
}

static void webYieldTimeslice(void) { _web_wait(0); }

/* clang-format off */
SYSTEM_DRIVER system_web = {
   SYSTEM_WEB,
   empty_string,
   empty_string,
   "Web",
   webInit,
   webExit,
   webGetExecutableName,
   NULL, /* find_resource */
   webSetTitle,
   NULL, /* set_close_button_callback: a page has no close button of ours */
   webMessage,
   NULL, /* assert */
   NULL, /* save_console_state */
   NULL, /* restore_console_state */
   NULL, /* create_bitmap */
   NULL, /* created_bitmap */
   NULL, /* create_sub_bitmap */
   NULL, /* created_sub_bitmap */
   NULL, /* destroy_bitmap */
   NULL, /* read_hardware_palette */
   NULL, /* set_palette_range */
   NULL, /* get_vtable */
   NULL, /* set_display_switch_mode */
   NULL, /* display_switch_lock */
   webDesktopColorDepth,
   webDesktopResolution,
   NULL, /* get_gfx_safe_mode */
   webYieldTimeslice,
   NULL, /* create_mutex: one thread */
   NULL, /* destroy_mutex */
   NULL, /* lock_mutex */
   NULL, /* unlock_mutex */
   NULL, /* gfx_drivers: the lists in web_drivers.c */
   NULL, /* digi_drivers */
   NULL, /* midi_drivers */
   NULL, /* keyboard_drivers */
   NULL, /* mouse_drivers */
   NULL, /* joystick_drivers */
   NULL  /* timer_drivers */
};
/* clang-format on */
