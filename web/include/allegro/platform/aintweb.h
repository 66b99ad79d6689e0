/* What the browser's drivers share. */
#ifndef AINTWEB_H
#define AINTWEB_H

/* Puts what was drawn on the screen since the last call on the page. */
AL_FUNC(void, _web_show_screen, (void));

/* Hands the browser control for `ms` milliseconds (0: one turn of its event
 * loop), showing the screen first, then runs the timers that fell due. */
AL_FUNC(void, _web_wait, (unsigned int ms));

/* Called for every pointer and key event before the library is given it:
 * runs the timers that fell due before the event, and wakes a program
 * waiting in web_rest_until_input. */
AL_FUNC(void, _web_input_came, (void));

#endif
