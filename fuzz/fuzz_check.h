// The fuzz targets' assertion: an invariant that does not hold is a finding.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace quelro::fuzz {

inline void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace quelro::fuzz
