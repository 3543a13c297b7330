// What the fuzz targets share: a broken invariant stops the run at once, naming itself, so
// libFuzzer keeps the input that broke it; and a Qt application for the targets that need one.
#pragma once

#include <cstdio>
#include <string>

// The detail is an expression of std::string, worked out only when the check fails.
#define VX_FUZZ_REQUIRE(cond, detail)                                                              \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "Broken invariant at %s:%d: %s\n  %s\n", __FILE__, __LINE__, #cond, \
                         std::string(detail).c_str());                                             \
            __builtin_trap();                                                                      \
        }                                                                                          \
    } while (0)

namespace vxplan::fuzz {

// Creates the offscreen QApplication once, for the process's life (widgets need one).
void EnsureApplication();

}  // namespace vxplan::fuzz
