# Read through CMAKE_USER_MAKE_RULES_OVERRIDE (windows/toolchain.cmake),
# after the platform's own rules: every static library of a Windows build is
# written by ar and ranlib in their deterministic mode, D, so that its
# members' times, owners and modes are zero and a rebuild gives the same
# archive.
foreach(lang C CXX)
  set(CMAKE_${lang}_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
  set(CMAKE_${lang}_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
endforeach()
