# The window tests of the Windows programs under Wine: the shared tiles and
# counters tests, built against the installed Windows programs, and the
# Wine tests of windows/tests/. Included by tests/CMakeLists.txt in a
# native build configured by scripts/test-windows with
#   KALVO_WINE_TESTS=ON
#   KALVO_WINDOWS_INSTALLER  the installer (scripts/package-windows)
#   KALVO_WINDOWS_CROSS      the cross build (tiles_high.exe, wine_probe.exe)
#   KALVO_WINDOWS_PREVIOUS_INSTALLER  the previous release's installer
#                            (scripts/previous-release --windows), if any
# One group, window_wine, runs everything in one X server and one Wine
# prefix kept in this build folder: windows/check-windows installs the
# programs there, checks the installation, runs the tests, uninstalls.
# What it installs is the installer as windows_signing signed it with a
# throwaway certificate: the signature must leave the installer working.

set(window ${CMAKE_SOURCE_DIR}/tests/window)
add_executable(wine_window_tests
  ${window}/x_harness.cpp ${window}/reference.cpp
  ${window}/tiles_game_test.cpp ${window}/tiles_window_test.cpp ${window}/counters_window_test.cpp
  ${window}/counters_keys_test.cpp ${window}/tiles_offers_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wine_window_test.cpp)
target_include_directories(wine_window_tests PRIVATE ${window} ${CMAKE_SOURCE_DIR} ${X11_INCLUDE_DIR})
target_link_libraries(wine_window_tests PRIVATE GTest::gtest_main ${X11_LIBRARIES} PkgConfig::ALLEGRO)
add_dependencies(wine_window_tests tiles counters)
# The shared drivers start TILES_BIN and COUNTERS_BIN: here the installed
# Windows programs, whose paths windows/check-windows reads from their
# shortcuts. The Linux programs are the ones the screens are compared with.
target_compile_options(wine_window_tests PRIVATE -include ${CMAKE_CURRENT_LIST_DIR}/wine_programs.h)
target_compile_definitions(wine_window_tests PRIVATE
  [[TILES_BIN=windowsProgram("KALVO_TILES_EXE")]]
  [[COUNTERS_BIN=windowsProgram("KALVO_COUNTERS_EXE")]]
  LINUX_TILES_BIN="$<TARGET_FILE:tiles>" LINUX_COUNTERS_BIN="$<TARGET_FILE:counters>"
  FONT_DATAFILE="${FONT_DATAFILE}")

# Authenticode signing (scripts/sign-windows) with a throwaway certificate,
# the detached signature attached again, and what signing refuses.
get_filename_component(installer_name ${KALVO_WINDOWS_INSTALLER} NAME)
set(signed_installer ${CMAKE_BINARY_DIR}/signing/signed/${installer_name})
add_test(NAME windows_signing
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-signing ${KALVO_WINDOWS_INSTALLER} ${CMAKE_BINARY_DIR}/signing)
set_tests_properties(windows_signing PROPERTIES TIMEOUT 120 FIXTURES_SETUP signed_installer)

# Every case of tiles and counters with a whole game, the unsolvable and the
# stopped outcome, instant and held presses on both buttons, Escape, a game
# played from the keyboard alone, the shortest solution on request, and the
# Wine tests.
set(wine_cases "TilesWindow.PocketGameIsSolvedMoveByMoveAtTheSetPace:TilesWindow.UnsolvablePlacementIsReported:TilesWindow.ScriptThatCannotGoOnNamesItsStep:TilesOffers.ShortSolutionOnRequest:CountersWindow.LongestGameIsPlayedBackMoveByMoveAtItsPace:CountersWindow.EscapeAtTheMenuStartsANewGame:CountersWindow.KeyboardAlonePlaysAWholeGame:WineWindows.*")
add_test(NAME window_wine
  COMMAND ${window}/with-xvfb 24 ${CMAKE_SOURCE_DIR}/windows/check-windows
          ${signed_installer} ${KALVO_WINDOWS_CROSS} ${CMAKE_BINARY_DIR}/wine
          $<TARGET_FILE:wine_window_tests> --gtest_filter=${wine_cases})
set_tests_properties(window_wine PROPERTIES TIMEOUT 600 LABELS window FIXTURES_REQUIRED signed_installer)

# The installer over the previous release's, in a Wine prefix of its own:
# one entry, the new files, the shortcuts starting the new programs, no way
# back to an older version, nothing left after uninstalling.
if(KALVO_WINDOWS_PREVIOUS_INSTALLER)
  get_filename_component(stage ${KALVO_WINDOWS_CROSS}/../stage ABSOLUTE)
  add_test(NAME window_wine_upgrade
    COMMAND ${window}/with-xvfb 24 ${CMAKE_SOURCE_DIR}/windows/check-upgrade
            ${KALVO_WINDOWS_PREVIOUS_INSTALLER} ${KALVO_WINDOWS_INSTALLER} ${KALVO_WINDOWS_CROSS}
            ${stage} ${CMAKE_BINARY_DIR}/wine-upgrade)
  set_tests_properties(window_wine_upgrade PROPERTIES TIMEOUT 600 LABELS window)
endif()
