// The JSON form of a data file (format "quelro-dat", version 1): every
// channel and setting of an image as named fields, for quelro-cli's export
// and import; its channel objects are also the clipboard's exact form.
//
// Radio text fields travel as strings whose characters are the stored bytes
// (byte value = code point). Import accepts the values the program's editors
// can hold and every text export prints, and refuses any other, naming the
// field.
#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "channels/program_state.h"

namespace quelro::cli {

// Objects keep their members in the order the form lists them.
using Json = nlohmann::ordered_json;

inline constexpr const char* kJsonFormat = "quelro-dat";
inline constexpr int kJsonVersion = 1;

// The form of a state (decoded from an image, or the start-up state); the
// same in every language.
Json ExportJsonForm(const ProgramState& state);

struct JsonFormError {
    std::string field;  // "settings.squelch", "channels[2].rx_tone", ...
    std::string reason; // "must be an integer from 0 to 9"
};

// Applies every field present in `form` to `state`. On an error the state is
// left exactly as it was.
std::optional<JsonFormError> ImportJsonForm(const Json& form, ProgramState& state);

// One channel of the form: its object, or null for an empty channel.
Json ExportJsonChannel(const ProgramState& state, int row);
// Applies one channel object (or null) to grid row `row`, `field` naming it
// in an error. On an error the state is left exactly as it was.
std::optional<JsonFormError> ImportJsonChannel(const Json& channel, int row,
                                               const std::string& field, ProgramState& state);

} // namespace quelro::cli
