/* The graphics driver: the screen is a 32-bit bitmap in memory, laid out as
 * the canvas's pixels are (red, green, blue, then a byte the library leaves
 * 0). Every line the library's drawing routines write passes through the
 * screen's write_bank hook, which marks it; when the program yields, the
 * marked rows go to the <canvas> with putImageData, and the page hears of it
 * (Module.onFrame), as it shows the canvas scaled down in a picture of its
 * own. Between yields the browser could not show anything anyway, so a
 * redraw shows whole. */
#include <emscripten.h>
#include <limits.h>
#include <stdint.h>

#include "allegro.h"
#include "allegro/internal/aintern.h"
#include "allegro/platform/aintweb.h"

static unsigned char* pixels;
/* What the canvas shows: the screen's rows with the fourth byte made 255,
 * since the canvas is opaque. Made here rather than in the page's script,
 * whose loop over the first frame's 307,200 pixels ran in the script
 * engine's interpreter and took longer than all of the program's start. */
static uint32_t* shown;
static int firstDirtyRow = INT_MAX;
static int lastDirtyRow = -1;

static uintptr_t webWriteLine(BITMAP* bmp, int line) {
   if (line < firstDirtyRow) firstDirtyRow = line;
   if (line > lastDirtyRow) lastDirtyRow = line;
   return (uintptr_t)bmp->line[line];
}

/* The image is a view of the program's memory, made anew for every call:
 * if the memory has grown since the last one, its buffer is another. */
/* clang-format off */
EM_JS(void, webPutRows, (const uint32_t* shown, int width, int height, int first, int last), {
   const canvas = Module["canvas"];
   if (!Module.webScreen) {
      canvas.width = width;
      canvas.height = height;
      Module.webScreen = {context: canvas.getContext("2d", {alpha: false})};
   }
   const image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, shown, width * height * 4), width, height);
   Module.webScreen.context.putImageData(image, 0, 0, 0, first, width, last - first + 1);
   if (Module["onFrame"]) Module["onFrame"]();
});
/* clang-format on */

void _web_show_screen(void) {
   if (lastDirtyRow < 0 || !screen) return;
   /* Two pixels at a time: the loop runs before the browser has compiled
    * it for speed, and a whole screen is 307,200 pixels. The rows are
    * 640 pixels, an even number. */
   const uint64_t* from = (const uint64_t*)pixels + firstDirtyRow * screen->w / 2;
   uint64_t* to = (uint64_t*)shown + firstDirtyRow * screen->w / 2;
   for (int i = 0, n = (lastDirtyRow - firstDirtyRow + 1) * screen->w / 2; i < n; i++)
      to[i] = from[i] | 0xff000000ff000000u;
   webPutRows(shown, screen->w, screen->h, firstDirtyRow, lastDirtyRow);
   firstDirtyRow = INT_MAX;
   lastDirtyRow = -1;
}

/* Filling is the one drawing routine worth doing natively: the library's
 * own, a loop over every pixel, cleared the whole screen twice before the
 * first frame (setting the mode, then the programs' white) and took a
 * tenth of the time to it, running before the browser has compiled it for
 * speed. The script engine's fill of the program's memory does the same. */
/* clang-format off */
EM_JS(void, webFill, (uint32_t* first, int width, int pitch, int rows, uint32_t color), {
   const start = first >> 2;
   for (let row = 0; row < rows; row++) HEAPU32.fill(color, start + row * pitch, start + row * pitch + width);
});
/* clang-format on */

/* The screen, or a part of it made with create_sub_bitmap: its rows lie as
 * far apart as the screen's. */
static void webClearToColor(BITMAP* bmp, int color) {
   if (bmp->cr <= bmp->cl || bmp->cb <= bmp->ct) return;
   int pitch = bmp->h > 1 ? (int)(bmp->line[1] - bmp->line[0]) / 4 : 0;
   bmp_write_line(bmp, bmp->ct);
   bmp_write_line(bmp, bmp->cb - 1);
   webFill((uint32_t*)bmp->line[bmp->ct] + bmp->cl, bmp->cr - bmp->cl, pitch, bmp->cb - bmp->ct,
           color);
}

static BITMAP* webInit(int w, int h, int v_w, int v_h, int color_depth) {
   if (color_depth != 32 || (v_w != 0 && v_w != w) || (v_h != 0 && v_h != h)) {
      ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Unsupported screen format"));
      return NULL;
   }
   pixels = _AL_MALLOC_ATOMIC(w * h * 4);
   shown = _AL_MALLOC_ATOMIC(w * h * 4);
   if (!pixels || !shown) {
      _AL_FREE(pixels);
      _AL_FREE(shown);
      return NULL;
   }

   _rgb_r_shift_32 = 0;
   _rgb_g_shift_32 = 8;
   _rgb_b_shift_32 = 16;
   _rgb_a_shift_32 = 24;

   BITMAP* bmp = _make_bitmap(w, h, (uintptr_t)pixels, &gfx_web, 32, w * 4);
   if (!bmp) {
      _AL_FREE(pixels);
      _AL_FREE(shown);
      return NULL;
   }
   bmp->write_bank = webWriteLine;
   _screen_vtable.clear_to_color = webClearToColor;
   gfx_web.w = w;
   gfx_web.h = h;
   firstDirtyRow = 0;
   lastDirtyRow = h - 1;
   return bmp;
}

static void webExit(BITMAP* bmp) {
   (void)bmp;
   _AL_FREE(pixels);
   _AL_FREE(shown);
   pixels = NULL;
   shown = NULL;
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
