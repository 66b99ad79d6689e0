/* What the library's own CMake would generate for the browser: the platform
 * is ours, and there is no assembler. */
#define ALLEGRO_WEB

#define ALLEGRO_NO_ASM
#define ALLEGRO_USE_C
