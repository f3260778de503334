// The Windows build's Traditional conversion: the Traditional form of each
// character of the program's own texts, made at build time by OpenCC with
// the configuration the Linux build opens (see scripts/traditional_table.cpp),
// so that both builds show the same texts.
#pragma once

#include <vector>

namespace quelro {

struct TraditionalPair {
    char32_t simplified;
    char32_t traditional;
};

// Sorted by the simplified character; characters that stay are left out.
const std::vector<TraditionalPair>& TraditionalTable();

} // namespace quelro
