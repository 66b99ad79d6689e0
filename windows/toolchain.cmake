# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix
# thread model, whose C++ runtime has std::thread). Used for the game
# library and for the programs alike.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KALVO_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KALVO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KALVO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KALVO_MINGW}-windres)

# Headers and libraries from the cross environment only; programs (exedat,
# the icon tools) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${KALVO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static libraries whose members carry no time, owner or mode (ar's D),
# whatever the default of the binutils at hand, so that the game library
# rebuilds to the same archive. The platform's rules set the archive
# commands after this file is read; this override comes after them.
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/archive-rules.cmake)
