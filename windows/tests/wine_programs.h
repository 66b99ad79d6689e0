#pragma once
// The programs the window tests drive when they run against the Windows
// build: windows/check-windows installs it into a Wine prefix and passes
// each program's path, read from its Start-menu shortcut, in the
// environment. The shared drivers name their program TILES_BIN or
// COUNTERS_BIN; the Wine tests' build defines those as calls of this.

#include <cstdlib>
#include <stdexcept>
#include <string>

inline std::string windowsProgram(const char* variable) {
    const char* path = std::getenv(variable);
    if (path == nullptr || *path == '\0')
        throw std::runtime_error(std::string(variable) +
                                 " is not set: run the Wine tests with windows/check-windows");
    return path;
}
