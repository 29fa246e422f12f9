#pragma once

#include <cstdint>

#include "acad/Error.h"

namespace testsupport {

// Runs f and returns the automation error number it failed with, or 0.
template <typename F>
std::int32_t errorOf(F f) {
    try {
        f();
    } catch (const acad::Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace testsupport
