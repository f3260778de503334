// Building the JSON Patch between two documents.
#include "files/json_patch.h"

namespace quelro {
namespace {

using cli::Json;

void Add(Json& patch, const char* op, const std::string& path, const Json* value) {
    Json entry = Json::object();
    entry["op"] = op;
    entry["path"] = path;
    if (value != nullptr) entry["value"] = *value;
    patch.push_back(std::move(entry));
}

bool SameKeys(const Json& a, const Json& b) {
    if (a.size() != b.size()) return false;
    for (const auto& [key, value] : a.items())
        if (!b.contains(key)) return false;
    return true;
}

// The documents are the JSON form's: a few levels deep, so the recursion is
// bounded by the shape of the form.
void Diff(const std::string& path, const Json& a, const Json& b, Json& patch) {
    if (a == b) return;
    if (a.is_object() && b.is_object() && SameKeys(a, b)) {
        for (const auto& [key, value] : a.items())
            Diff(path + "/" + JsonPointerToken(key), value, b.at(key), patch);
        return;
    }
    if (a.is_array() && b.is_array() && a.size() == b.size()) {
        for (std::size_t i = 0; i < a.size(); ++i)
            Diff(path + "/" + std::to_string(i), a[i], b[i], patch);
        return;
    }
    Add(patch, "test", path, &a);
    Add(patch, "replace", path, &b);
}

} // namespace

Json JsonPatch(const Json& from, const Json& to) {
    Json patch = Json::array();
    Diff("", from, to, patch);
    return patch;
}

std::string JsonPointerToken(std::string_view key) {
    std::string token;
    for (char c : key) {
        if (c == '~')
            token += "~0";
        else if (c == '/')
            token += "~1";
        else
            token += c;
    }
    return token;
}

} // namespace quelro
