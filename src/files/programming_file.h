// A programming read from any of its three forms - a .DAT data file, a JSON
// form or a CSV channel list - for the commands that only look at it
// (compare, print): a form is applied to a base state as import applies
// it, and what is wrong with a file is said in the user's language.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/csv_form.h"
#include "files/programming_diff.h"

namespace quelro {

enum class ProgrammingForm { DataFile, Json, Csv };

// By the extension of a file's name: .csv and .json in any case, else a
// data file (backups and saved files are .DAT).
ProgrammingForm FormOfName(std::string_view name);

// A JSON form or a channel list is a few kilobytes; a file far larger is
// not one. Read at most one byte more than this.
inline constexpr std::size_t kMaxFormBytes = 1 << 20;

struct ProgrammingRead {
    std::optional<Programming> programming;
    std::string problem;             // when there is none: why, in the language asked for
    std::vector<CsvLeftOut> leftOut; // CSV rows that did not become channels
};

// The programming in a file's bytes (`problem` in `languageMode`). A data
// file is decoded onto the start-up state; a JSON form or CSV list is applied
// to `base` (a CSV list keeps the base's band and takes what it has no
// column for from the base's channels when `baseGiven`, else takes the band
// that holds its rows and a new channel's values) and taken as importing it
// saves it.
ProgrammingRead ReadProgramming(std::string_view bytes, ProgrammingForm form,
                                const ProgramState& base, bool baseGiven, int languageMode);

} // namespace quelro
