/* The floor of a program on a game page (scripts/measure web): built by the
 * same Emscripten with the programs' settings and the page's own script, it
 * only puts one white 640x480 screen on the canvas, the way the screen
 * driver does, as soon as it starts. However little a program does before
 * its first frame, its first frame comes no sooner than this one's. */
#include <emscripten.h>
#include <stdint.h>
#include <stdlib.h>

enum { kWidth = 640, kHeight = 480 };

EM_JS(void, putScreen, (const uint32_t *pixels), {
    const image =
        new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, 640 * 480 * 4), 640, 480);
    Module["canvas"].getContext("2d", {alpha : false}).putImageData(image, 0, 0);
});

int main(void) {
    uint32_t *pixels = malloc(kWidth * kHeight * sizeof *pixels);
    if (pixels == NULL) return 1;
    for (int i = 0; i < kWidth * kHeight; i++) pixels[i] = 0xffffffffu;
    putScreen(pixels);
    free(pixels);
    return 0;
}
