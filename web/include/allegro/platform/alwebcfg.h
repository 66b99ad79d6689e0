/* The browser as a platform of the game library: Emscripten's C library is
 * a Unix one without threads, so the library is configured as on Unix
 * without pthreads, and its drivers come from web/platform. */
#ifndef ALWEBCFG_H
#define ALWEBCFG_H

#ifndef SCAN_DEPEND
   #include <fcntl.h>
   #include <unistd.h>
#endif

#define ALLEGRO_PLATFORM_STR "Web"
#define ALLEGRO_LITTLE_ENDIAN

#define ALLEGRO_HAVE_DIRENT_H   1
#define ALLEGRO_HAVE_INTTYPES_H 1
#define ALLEGRO_HAVE_STDINT_H   1
#define ALLEGRO_HAVE_SYS_TIME_H 1
#define ALLEGRO_HAVE_TIME_H     1
#define ALLEGRO_HAVE_SYS_STAT_H 1

/* The C library has strcasecmp but none of these. */
#define ALLEGRO_NO_STRICMP
#define ALLEGRO_NO_STRLWR
#define ALLEGRO_NO_STRUPR

#define ALLEGRO_EXTRA_HEADER "allegro/platform/alweb.h"

/* The canvas takes 32-bit pixels and the programs ask for nothing else, so,
 * as a Unix configuration may, only that colour depth is built: the
 * program file is smaller and the browser compiles less before the first
 * frame. */
#undef ALLEGRO_COLOR8
#undef ALLEGRO_COLOR16
#undef ALLEGRO_COLOR24

#endif
