# The Windows build: the programs cross-built for 64-bit Windows with
# mingw-w64 (toolchain file windows/toolchain.cmake), against the game
# library that windows/build-library built from its upstream source, as a
# static library with the patches in windows/patches/. scripts/package-windows
# passes the two folders this file needs:
#   KALVO_WINDOWS_ALLEGRO  the library's install folder (include/, lib/)
#   KALVO_WINDOWS_ICONS    tiles.ico and counters.ico, drawn by the icon tools
#                          of a native build

set(KALVO_WINDOWS_ALLEGRO "" CACHE PATH "The game library built by windows/build-library")
set(KALVO_WINDOWS_ICONS "" CACHE PATH "Folder with tiles.ico and counters.ico")
foreach(needed KALVO_WINDOWS_ALLEGRO KALVO_WINDOWS_ICONS)
  if(NOT IS_DIRECTORY "${${needed}}")
    message(FATAL_ERROR "${needed} must name a folder (scripts/package-windows sets it)")
  endif()
endforeach()

enable_language(RC)

# Nothing of the folders the programs are built in reaches them, in
# __FILE__ or debugging information. A later map wins: the build folder
# lies inside the source folder.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)

# For scripts/package-windows: the installer and the zip carry the version.
file(WRITE ${CMAKE_BINARY_DIR}/version.txt "${PROJECT_VERSION}\n")

# The library links statically, with the system libraries it uses; the C
# and C++ runtimes link statically too, so the programs import nothing but
# system DLLs.
add_library(game_library INTERFACE)
target_include_directories(game_library SYSTEM INTERFACE ${KALVO_WINDOWS_ALLEGRO}/include)
target_compile_definitions(game_library INTERFACE ALLEGRO_STATICLINK)
target_link_libraries(game_library INTERFACE
  ${KALVO_WINDOWS_ALLEGRO}/lib/liballeg.a
  kernel32 user32 gdi32 comdlg32 ole32 dinput ddraw dxguid winmm dsound)
target_link_options(game_library INTERFACE -static -static-libgcc -static-libstdc++)

# On Windows the library's message box is the message.
set(SHELL_SYSTEM_SOURCES shell/startup_failure_box.cpp)

# The version information's descriptions (under the names the Start menu
# shows) and publisher.
set(KALVO_WINDOWS_DESCRIPTION_tiles "Torvane - the 15-puzzle solved before your eyes")
set(KALVO_WINDOWS_DESCRIPTION_counters "Murak - three white and three black counters sorted")
set(KALVO_WINDOWS_PUBLISHER "Kalvorintu maintainers")

# Makes `target` a finished Windows program with the look of `program`
# (tiles or counters): a GUI program (no console window), its icon and
# version information as resources, stripped, and the font appended last
# (append_font, as on Linux). Stripping after the font would cut it off;
# the linker strips before.
function(finish_windows_program target program)
  set(KALVO_RC_ICON ${KALVO_WINDOWS_ICONS}/${program}.ico)
  set(KALVO_RC_PROGRAM ${program})
  set(KALVO_RC_DESCRIPTION ${KALVO_WINDOWS_DESCRIPTION_${program}})
  set(KALVO_RC_PUBLISHER ${KALVO_WINDOWS_PUBLISHER})
  configure_file(${CMAKE_SOURCE_DIR}/windows/program.rc.in ${CMAKE_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/${target}.rc)
  set_property(SOURCE ${CMAKE_BINARY_DIR}/${target}.rc APPEND PROPERTY OBJECT_DEPENDS ${KALVO_RC_ICON})
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  target_link_options(${target} PRIVATE -s)
  append_font(${target})
endfunction()

function(finish_program target)
  finish_windows_program(${target} ${target})
endfunction()

# Test builds, made beside the programs but never installed (the root
# CMakeLists.txt calls this for a cross build):
# - tiles_high: tiles with every free page of the address space below 4 GB
#   reserved before anything runs, so that every later allocation lies
#   above it (checks that no address is cut to 32 bits);
# - wine_probe: asks Windows what a shortcut points at and what a message
#   box says, for the checks under Wine.
function(add_system_test_programs)
  add_executable(tiles_high tiles/main.cpp tiles/screen.cpp windows/tests/reserve_low_memory.cpp)
  target_link_libraries(tiles_high PRIVATE tiles_core shell)
  finish_windows_program(tiles_high tiles)

  add_executable(wine_probe windows/tests/wine_probe.cpp)
  target_compile_definitions(wine_probe PRIVATE UNICODE _UNICODE)
  target_link_libraries(wine_probe PRIVATE ole32 uuid)
  target_link_options(wine_probe PRIVATE -static -municode)
endfunction()
