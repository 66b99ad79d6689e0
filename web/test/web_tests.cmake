# The Linux side of the browser test: linux_screens plays the browser test's
# games in the Linux programs of this build with the window tests' harness
# and records their screens. Included by tests/CMakeLists.txt in the native
# build that scripts/test-web configures with KALVO_WEB_TESTS=ON.

set(window ${CMAKE_SOURCE_DIR}/tests/window)
add_executable(linux_screens ${CMAKE_CURRENT_LIST_DIR}/linux_screens.cpp
  ${window}/x_harness.cpp ${window}/reference.cpp)
target_include_directories(linux_screens PRIVATE ${window} ${X11_INCLUDE_DIR})
target_link_libraries(linux_screens PRIVATE GTest::gtest_main ${X11_LIBRARIES} PkgConfig::ALLEGRO)
add_dependencies(linux_screens tiles counters)
target_compile_definitions(linux_screens PRIVATE
  TILES_BIN="$<TARGET_FILE:tiles>" COUNTERS_BIN="$<TARGET_FILE:counters>"
  FONT_DATAFILE="${FONT_DATAFILE}")
