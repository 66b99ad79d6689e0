# The version and date of the release being made come from one place: the
# newest numbered section of CHANGELOG.md, "## [1.0.0] - 2026-12-09". Bumping
# the version is writing that section; the package, its changelog, the
# manual pages, the AppStream release, the Windows resources and installer,
# the web pages' footer and the release notes all follow it.
#
# Included before project(), which needs the number. Sets
#   KALVO_VERSION_NUMBER       1.0.0, for project(... VERSION ...)
#   KALVO_RELEASE_DATE         2026-12-09
# and, once the project is known, kalvo_set_version() sets KALVO_VERSION: the
# number, or a snapshot's version (1.0.0+git<hash>.dirty) that scripts/release
# passes in the environment variable of the same name.

set(KALVO_CHANGELOG ${CMAKE_CURRENT_LIST_DIR}/../CHANGELOG.md)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KALVO_CHANGELOG})
file(STRINGS ${KALVO_CHANGELOG} kalvo_heading LIMIT_COUNT 1
  REGEX "^## \\[[0-9]+\\.[0-9]+\\.[0-9]+\\] - [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$")
if(NOT kalvo_heading MATCHES "^## \\[([0-9.]+)\\] - ([0-9-]+)$")
  message(FATAL_ERROR "CHANGELOG.md has no section \"## [X.Y.Z] - YYYY-MM-DD\"")
endif()
set(KALVO_VERSION_NUMBER ${CMAKE_MATCH_1})
set(KALVO_RELEASE_DATE ${CMAKE_MATCH_2})

macro(kalvo_set_version)
  set(KALVO_VERSION ${PROJECT_VERSION})
  if(DEFINED ENV{KALVO_VERSION} AND NOT "$ENV{KALVO_VERSION}" STREQUAL "")
    if(NOT "$ENV{KALVO_VERSION}" MATCHES "^${PROJECT_VERSION}(\\+[0-9A-Za-z.]+)?$")
      message(FATAL_ERROR "KALVO_VERSION=$ENV{KALVO_VERSION} is not ${PROJECT_VERSION} or a snapshot of it")
    endif()
    set(KALVO_VERSION $ENV{KALVO_VERSION})
  endif()
endmacro()
