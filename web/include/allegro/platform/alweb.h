/* The browser's drivers, by the ids a program could ask for. */
#ifndef ALWEB_H
#define ALWEB_H

#ifndef ALLEGRO_WEB
   #error bad include
#endif

#define SYSTEM_WEB AL_ID('W', 'E', 'B', ' ')
AL_VAR(SYSTEM_DRIVER, system_web);

#define GFX_WEB AL_ID('W', 'E', 'B', 'G')
AL_VAR(GFX_DRIVER, gfx_web);

#define TIMER_WEB AL_ID('W', 'E', 'B', 'T')
AL_VAR(TIMER_DRIVER, timer_web);

#define KEYBOARD_WEB AL_ID('W', 'E', 'B', 'K')
AL_VAR(KEYBOARD_DRIVER, keyboard_web);

#define MOUSE_WEB AL_ID('W', 'E', 'B', 'M')
AL_VAR(MOUSE_DRIVER, mouse_web);

#ifdef __cplusplus
extern "C" {
#endif

/* What the library has no call for: a page need not wake until input comes.
 * Rests `ms` as rest() does while the library may still be busy with the
 * last input event (its double-click timer runs for a quarter of a second
 * after a release); after that, waits for the next input event however long
 * it takes. The screen is shown first; the library's timers catch up on
 * the wait when the event comes, before the library is given it. */
AL_FUNC(void, web_rest_until_input, (unsigned int ms));

#ifdef __cplusplus
}
#endif

#endif
