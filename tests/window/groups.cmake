# Each group runs in an X server of its own, with the depth it needs. The
# time-outs are about three times what a group takes on a busy two-core
# machine with sanitizers; a faulty program fails its group long before, as
# every wait in the tests is bounded by what it waits for.
function(window_group name depth timeout filter)
  add_test(NAME ${name}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/window/with-xvfb ${depth}
            $<TARGET_FILE:window_tests> --gtest_filter=${filter})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout} LABELS window)
endfunction()

window_group(window_tiles 24 240 "TilesWindow.*")
# The offers' short game is for systems that run few tests (Wine); the
# stopped game's playback covers it here.
window_group(window_tiles_offers 24 300 "TilesOffers.*-TilesOffers.ShortSolutionOnRequest")
window_group(window_depth24 24 60 "Depth.*")
window_group(window_depth16 16 60 "Depth.*")
window_group(window_depth8 8 60 "Depth.*")
window_group(window_failures 24 60 "Failure.*")
window_group(window_counters 24 120 "CountersWindow.*")
if(NOT KALVO_SANITIZE)
  window_group(window_package 24 120 "Install.*")
  set_tests_properties(window_package PROPERTIES FIXTURES_REQUIRED deb)
endif()
