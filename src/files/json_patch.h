// RFC 6902 JSON Patch between two JSON documents: the operations that turn
// the first into the second. Every operation that changes or removes a value
// is preceded by a "test" of the value it expects there, so the patch applies
// to the first document only.
#pragma once

#include <string>
#include <string_view>

#include "files/json_form.h"

namespace quelro {

// Objects and arrays of the same length are compared member by member; any
// other difference replaces the value at its path whole.
cli::Json JsonPatch(const cli::Json& from, const cli::Json& to);

// A JSON Pointer token: "~" as "~0", "/" as "~1".
std::string JsonPointerToken(std::string_view key);

} // namespace quelro
