// Beside the floor (blocked_window) in the CPU measurements: a bare 640x480
// window of the same library that does nothing but read the mouse every
// 50 ms, as the placing loops do, so that the poll's own cost can be seen.
#include <allegro.h>


int main() {
    if (allegro_init() != 0) return 1;
    set_window_title("idle-window");
    if (desktop_color_depth() == 32) set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 640, 480, 640, 480) < 0) return 1;
    // The programs get the library's timer from their mouse pointer; without
    // it rest() would spin instead of sleep and the floor would be too high.
    install_timer();
    install_keyboard();
    install_mouse();
    clear_to_color(screen, makecol(255, 255, 255));
    show_mouse(screen);
    volatile int seen = 0;
    for (;;) {
        seen = seen + mouse_b;
        rest(50);
    }
}
END_OF_MAIN()
