# The browser: built with Emscripten (emcmake cmake). The game library is
# compiled here from its upstream source (scripts/fetch-allegro fetches and
# checks it), its platform-independent core as the library's own CMake lists
# it, plus our platform layer in web/platform, which drives the page's
# canvas, timers, pointer and keys through the library's driver interfaces.
enable_language(C)

# --- the library's source, unpacked and patched once per build folder -------
execute_process(COMMAND ${CMAKE_SOURCE_DIR}/scripts/fetch-allegro
  OUTPUT_VARIABLE ALLEGRO_TARBALL OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE fetched)
if(NOT fetched EQUAL 0)
  message(FATAL_ERROR "scripts/fetch-allegro could not fetch the game library's source")
endif()

set(ALLEGRO_PATCH ${CMAKE_SOURCE_DIR}/web/alconfig.patch)
set(ALLEGRO_SOURCE ${CMAKE_BINARY_DIR}/allegro-4.4.3.1)
file(SHA256 ${ALLEGRO_PATCH} patch_hash)
set(stamp ${CMAKE_BINARY_DIR}/allegro-source.stamp)
set(stamped "")
if(EXISTS ${stamp})
  file(READ ${stamp} stamped)
endif()
if(NOT stamped STREQUAL patch_hash)
  file(REMOVE_RECURSE ${ALLEGRO_SOURCE})
  file(ARCHIVE_EXTRACT INPUT ${ALLEGRO_TARBALL} DESTINATION ${CMAKE_BINARY_DIR})
  execute_process(COMMAND patch -p1 --quiet -i ${ALLEGRO_PATCH}
    WORKING_DIRECTORY ${ALLEGRO_SOURCE} RESULT_VARIABLE patched)
  if(NOT patched EQUAL 0)
    message(FATAL_ERROR "web/alconfig.patch does not apply to ${ALLEGRO_TARBALL}")
  endif()
  file(WRITE ${stamp} ${patch_hash})
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ALLEGRO_PATCH})

# --- the library: its core and our platform layer ----------------------------
include(${ALLEGRO_SOURCE}/cmake/FileList.cmake)
set(allegro_core ${ALLEGRO_SRC_FILES} ${ALLEGRO_SRC_C_FILES} src/unix/ufile.c)
list(TRANSFORM allegro_core PREPEND ${ALLEGRO_SOURCE}/)
# The library is a dependency, not our code: its warnings are not ours.
set_source_files_properties(${allegro_core} PROPERTIES COMPILE_OPTIONS -w)

add_library(game_library STATIC ${allegro_core}
  web/platform/web_drivers.c web/platform/web_system.c web/platform/web_screen.c
  web/platform/web_timer.c web/platform/web_input.c web/platform/web_file.c)
# Our platform headers come first: they hold the alplatf.h that the
# library's CMake would otherwise generate.
target_include_directories(game_library PUBLIC
  ${CMAKE_SOURCE_DIR}/web/include ${ALLEGRO_SOURCE}/include)
target_compile_definitions(game_library PUBLIC ALLEGRO_STATICLINK PRIVATE ALLEGRO_SRC)

# No iconv: the start-up failure is the library's message, shown on the page.
set(SHELL_SYSTEM_SOURCES shell/startup_failure_box.cpp)
set(SHELL_PAGE_SOURCE shell/page_web.cpp)

# --- waiting ---------------------------------------------------------------
# ASYNCIFY lets rest(), yield_timeslice() and web_rest_until_input() return
# to the browser and resume where they were. Left to itself it must assume
# that every call through a pointer may wait, which is most of the library's
# calls: that made each .wasm 1.75 times as large, and its start slower.
# So only the functions that can be on the stack while a program waits are
# made able to, named as they are in the .wasm after inlining (a function
# inlined into every caller has no name of its own; its callers are named).
# One that waits but is missing ends the program ("invalid state") the first
# time it waits there; the browser test waits in every place the programs
# wait: the menu, a held button, the placing loop, the pauses of a solve.
set(WAITING_FUNCTIONS
  # the shell: the menu's idle pass and the placing loop's
  main "chooseOnMenu(char)" "(anonymous namespace)::menuYieldProc(int, DIALOG*, int)"
  "(anonymous namespace)::idleUntilInput(int, bool)"
  # the library's dialog manager, which calls the idle pass through the
  # dialog's table, also while a button is held; and its rest()
  update_dialog object_message dialog_message d_button_proc ureadkey rest_callback
  # our timer and system drivers
  webRest webYieldTimeslice _web_wait)
# The pauses of a solve, where each program has them.
set(WAITING_FUNCTIONS_tiles
  "(anonymous namespace)::moveCall(Board&, int, int, int)"
  "(anonymous namespace)::moveUntilThere(Board&, int, int, int)"
  # the shortest solution: its pauses, and the wait for the search's worker
  "showShortest(Board&)" "playShortest(Board&, SearchWatcher*)" "pauseFor(int)"
  "shortestSolution(std::__2::array<unsigned char, 16ul> const&, SearchWatcher*)")
set(WAITING_FUNCTIONS_counters "yield_timeslice()")

# --- tiles' shortest search: a worker of the page ---------------------------
# The search takes seconds to build its tables and up to seconds to search,
# on the page's main thread, where the program runs, if it ran in the
# program. So it runs in a worker of its own, built from the same sources
# (web/search/): its script and .wasm load only when the first game of
# tiles starts placing, and build the tables meanwhile. The program's side
# (web/search/client.cpp) answers tiles/shortest.h's calls from the
# worker's messages, waiting for them as for input. Each program keeps
# Emscripten's fixed 16 MB; the worker's memory grows to what the tables
# take, and never past 48 MB.
set(TILES_SEARCH_APART ON)
set(TILES_SEARCH_CLIENT_SOURCES web/search/client.cpp)
function(add_tiles_search)
  set(worker_js ${CMAKE_SOURCE_DIR}/web/search/worker.js)
  add_executable(tiles_search web/search/shortest_worker.cpp tiles/position.cpp
    ${TILES_SEARCH_SOURCES})
  target_include_directories(tiles_search PRIVATE ${CMAKE_SOURCE_DIR})
  set_property(TARGET tiles_search APPEND PROPERTY LINK_DEPENDS ${worker_js})
  target_link_options(tiles_search PRIVATE "SHELL:--pre-js ${worker_js}"
    -sENVIRONMENT=worker -sFILESYSTEM=0 -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=48MB)
  # The site takes it with the program.
  add_dependencies(tiles tiles_search)
endfunction()

# What every program of a game page is linked with: the page's own scripts
# at the start of the program's (web/site/page.js, then reader.js, which
# keeps the accessibility tree), for the browser only, and no file system
# of Emscripten's (web_file.c answers for the program file).
set(PAGE_JS ${CMAKE_SOURCE_DIR}/web/site/page.js ${CMAKE_SOURCE_DIR}/web/site/reader.js)
set(PAGE_LINK_OPTIONS -sENVIRONMENT=web -sFILESYSTEM=0)
foreach(script ${PAGE_JS})
  list(APPEND PAGE_LINK_OPTIONS "SHELL:--pre-js ${script}")
endforeach()

# The floor of a program on a game page, for scripts/measure web: a program
# that only draws one white screen, built only when asked for.
add_executable(empty EXCLUDE_FROM_ALL web/test/empty.c)
set_property(TARGET empty APPEND PROPERTY LINK_DEPENDS ${PAGE_JS})
target_link_options(empty PRIVATE ${PAGE_LINK_OPTIONS})

# The timer and keyboard drivers under node, for scripts/test-web: built
# only when asked for. Waiting there needs ASYNCIFY too. The .wasm is inside
# the script: this Emscripten loads one beside it with fetch wherever there
# is one, and node's (from node 18 on) takes no file path.
add_executable(web_drivers_test EXCLUDE_FROM_ALL web/test/web_drivers_test.c)
target_link_libraries(web_drivers_test PRIVATE game_library)
target_link_options(web_drivers_test PRIVATE -sENVIRONMENT=node -sSINGLE_FILE -sASYNCIFY -sFILESYSTEM=0
  -sEXIT_RUNTIME=1)

# --- finishing a program -----------------------------------------------------
# On the desktop the font is appended to the program file. Here the program
# file is an empty file with the font appended by the same exedat, built into
# the program as C data (web/embed-file.cmake) and opened by name as /NAME
# (web/platform/web_file.c, in place of Emscripten's file system). The page's
# script names the program so too (thisProgram), so get_executable_name
# returns it and load_datafile("#") opens it as on the desktop.
function(finish_program target)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/program-files)
  set(file ${dir}/${target})
  set(pre_js ${dir}/${target}-name.js)
  file(WRITE ${pre_js} "Module[\"thisProgram\"] = \"/${target}\";\n")
  set(waiting ${dir}/${target}-waiting.txt)
  list(JOIN WAITING_FUNCTIONS "\n" common)
  list(JOIN WAITING_FUNCTIONS_${target} "\n" own)
  file(WRITE ${waiting} "${common}\n${own}\n")
  add_custom_command(OUTPUT ${file}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${file}
    COMMAND ${CMAKE_COMMAND} -E touch ${file}
    COMMAND ${EXEDAT} -a ${file} ${FONT_DATAFILE} >/dev/null
    DEPENDS ${FONT_DATAFILE}
    COMMENT "Appending the font to the program file of ${target}")
  set(embedded ${dir}/${target}-file.c)
  add_custom_command(OUTPUT ${embedded}
    COMMAND ${CMAKE_COMMAND} -DFILE=${file} -DNAME=/${target} -DOUTPUT=${embedded}
      -P ${CMAKE_SOURCE_DIR}/web/embed-file.cmake
    DEPENDS ${file} ${CMAKE_SOURCE_DIR}/web/embed-file.cmake
    COMMENT "Building the program file of ${target} into it")
  target_sources(${target} PRIVATE ${embedded})
  add_custom_target(${target}_program_file DEPENDS ${file})
  add_dependencies(${target} ${target}_program_file)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${pre_js} ${PAGE_JS} ${waiting})
  # EXIT_RUNTIME runs the library's exit handler on exit(0) and tells the
  # page (Module.onExit).
  target_link_options(${target} PRIVATE
    "SHELL:--pre-js ${pre_js}" ${PAGE_LINK_OPTIONS}
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sASYNCIFY_ONLY=@${waiting}
    -sEXIT_RUNTIME=1)
endfunction()
