// Bare 640x480 windows of the same library, set up like the programs (timer,
// keyboard, mouse, pointer shown), for the CPU measurements:
// - blocked_window (BARE_WINDOW_BLOCKS): the thread then blocks for ever, so
//   what it costs is the library's background thread alone, the floor that
//   nothing a program does while waiting can go below;
// - idle_window: reads the mouse every 50 ms, as the placing loops do, so
//   that the poll's own cost can be seen beside the floor.
#include <allegro.h>
#include <unistd.h>

int main() {
    if (allegro_init() != 0) return 1;
    set_window_title(BARE_WINDOW_BLOCKS ? "blocked-window" : "idle-window");
    if (desktop_color_depth() == 32) set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 640, 480, 640, 480) < 0) return 1;
    // The programs get the library's timer from their mouse pointer; without
    // it rest() would spin instead of sleep.
    install_timer();
    install_keyboard();
    install_mouse();
    clear_to_color(screen, makecol(255, 255, 255));
    show_mouse(screen);
    if (BARE_WINDOW_BLOCKS) {
        for (;;) pause();
    }
    volatile int seen = 0;
    for (;;) {
        seen = seen + mouse_b;
        rest(50);
    }
}
END_OF_MAIN()
