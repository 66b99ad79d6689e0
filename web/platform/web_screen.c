/* The graphics driver: the screen is a 32-bit bitmap in memory, laid out as
 * the canvas's pixels are (red, green, blue, then a byte the library leaves
 * 0). Every line the library's drawing routines write passes through the
 * screen's write_bank hook, which marks it; when the program yields, the
 * marked rows go to the <canvas> with putImageData. Between yields the
 * browser could not show anything anyway, so a redraw shows whole. */
#include <emscripten.h>
#include <limits.h>

#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintweb.h"

static unsigned char* pixels;
static int firstDirtyRow = INT_MAX;
static int lastDirtyRow = -1;

static uintptr_t webWriteLine(BITMAP* bmp, int line) {
   if (line < firstDirtyRow) firstDirtyRow = line;
   if (line > lastDirtyRow) lastDirtyRow = line;
   return (uintptr_t)bmp->line[line];
}

/* The canvas is opaque, so the fourth byte is made 255 on the way. */
/* clang-format off */
EM_JS(void, webPutRows, (const unsigned char* pixels, int width, int height, int first, int last), {
   const canvas = Module["canvas"];
   if (!Module.webScreen) {
      canvas.width = width;
      canvas.height = height;
      const context = canvas.getContext("2d", {alpha: false});
      Module.webScreen = {context: context, image: context.createImageData(width, height)};
   }
   const screen = Module.webScreen;
   const from = new Uint32Array(HEAPU8.buffer, pixels + first * width * 4, (last - first + 1) * width);
   const to = new Uint32Array(screen.image.data.buffer, first * width * 4, from.length);
   for (let i = 0; i < from.length; i++) to[i] = from[i] | 0xff000000;
   screen.context.putImageData(screen.image, 0, 0, 0, first, width, last - first + 1);
});
/* clang-format on */

void _web_show_screen(void) {
   if (lastDirtyRow < 0 || !screen) return;
   webPutRows(pixels, screen->w, screen->h, firstDirtyRow, lastDirtyRow);
   firstDirtyRow = INT_MAX;
   lastDirtyRow = -1;
}

static BITMAP* webInit(int w, int h, int v_w, int v_h, int color_depth) {
   if (color_depth != 32 || (v_w != 0 && v_w != w) || (v_h != 0 && v_h != h)) {
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Unsupported screen format"));
      return NULL;
   }
   pixels = _AL_MALLOC_ATOMIC(w * h * 4);
   if (!pixels) return NULL;
   memset(pixels, 0, w * h * 4);

   _rgb_r_shift_32 = 0;
   _rgb_g_shift_32 = 8;
   _rgb_b_shift_32 = 16;
   _rgb_a_shift_32 = 24;

   BITMAP* bmp = _make_bitmap(w, h, (uintptr_t)pixels, &gfx_web, 32, w * 4);
   if (!bmp) {
      _AL_FREE(pixels);
      return NULL;
   }
   bmp->write_bank = webWriteLine;
   gfx_web.w = w;
   gfx_web.h = h;
   firstDirtyRow = 0;
   lastDirtyRow = h - 1;
   return bmp;
}

static void webExit(BITMAP* bmp) {
   (void)bmp;
   _AL_FREE(pixels);
   pixels = NULL;
}

/* The browser's own pointer stands in for the library's: saying yes to a
 * hardware cursor keeps the library from drawing one into the screen. */
static int webSetMouseSprite(BITMAP* sprite, int xfocus, int yfocus) {
   (void)sprite;
   (void)xfocus;
   (void)yfocus;
   return 0;
}

static int webShowMouse(BITMAP* bmp, int x, int y) {
   (void)bmp;
   (void)x;
   (void)y;
   return 0;
}

static void webHideMouse(void) {}

static void webMoveMouse(int x, int y) {
   (void)x;
   (void)y;
}

/* clang-format off */
GFX_DRIVER gfx_web = {
   GFX_WEB,
   empty_string,
   empty_string,
   "Canvas",
   webInit,
   webExit,
   NULL, /* scroll */
   NULL, /* vsync: the browser shows a frame when the program yields */
   NULL, /* set_palette */
   NULL, /* request_scroll */
   NULL, /* poll_scroll */
   NULL, /* enable_triple_buffer */
   NULL, /* create_video_bitmap */
   NULL, /* destroy_video_bitmap */
   NULL, /* show_video_bitmap */
   NULL, /* request_video_bitmap */
   NULL, /* create_system_bitmap */
   NULL, /* destroy_system_bitmap */
   webSetMouseSprite,
   webShowMouse,
   webHideMouse,
   webMoveMouse,
   NULL, /* drawing_mode */
   NULL, /* save_video_state */
   NULL, /* restore_video_state */
   NULL, /* set_blender_mode */
   NULL, /* fetch_mode_list */
   640, 480, /* w, h */
   TRUE,     /* linear */
   0, 0,     /* bank_size, bank_gran */
   0,        /* vid_mem */
   0,        /* vid_phys_base */
   TRUE      /* windowed */
};
/* clang-format on */
