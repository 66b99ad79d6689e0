# Each group runs in an X server of its own, with the depth it needs.
function(window_group name depth filter)
  add_test(NAME ${name}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/window/with-xvfb ${depth}
            $<TARGET_FILE:window_tests> --gtest_filter=${filter})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS window)
endfunction()

window_group(window_tiles 24 "TilesWindow.*")
window_group(window_depth24 24 "Depth.*")
window_group(window_depth16 16 "Depth.*")
window_group(window_depth8 8 "Depth.*")
window_group(window_failures 24 "Failure.*:Install.*")
window_group(window_counters 24 "CountersWindow.*")
