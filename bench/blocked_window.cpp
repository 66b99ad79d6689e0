// The floor for the CPU measurements: a bare 640x480 window of the same
// library, set up like the programs (timer, keyboard, mouse, pointer shown),
// whose own thread then blocks for ever. What it costs is what the library's
// background thread costs; nothing a program does while waiting can be less.
#include <allegro.h>
#include <unistd.h>

int main() {
    if (allegro_init() != 0) return 1;
    set_window_title("blocked-window");
    if (desktop_color_depth() == 32) set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 640, 480, 640, 480) < 0) return 1;
    install_timer();
    install_keyboard();
    install_mouse();
    clear_to_color(screen, makecol(255, 255, 255));
    show_mouse(screen);
    for (;;) pause();
}
END_OF_MAIN()
