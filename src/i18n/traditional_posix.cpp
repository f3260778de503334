// Character-level Simplified-to-Traditional conversion with OpenCC.
//
// The phrase dictionaries of OpenCC rewrite whole words (and change lengths),
// so our own configuration uses only the character dictionary for
// segmentation and conversion, followed by the Taiwan variant forms.
#include "i18n/traditional.h"

#include <opencc/opencc.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>

#include "i18n/data_paths.h"

namespace quelro {
namespace {

constexpr const char* kConfigName = "quelro_s2t_chars.json";

std::filesystem::path FindConfig() {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (const char* dir = std::getenv("QUELRO_OPENCC_DIR")) {
        fs::path p = fs::path(dir) / kConfigName;
        if (fs::exists(p, ec)) return p;
    }
    return FindData(
        {fs::path("quelro/opencc") / kConfigName, fs::path("data/opencc") / kConfigName});
}

class Converter {
  public:
    Converter() {
        // Without the table the Traditional interface would silently show
        // Simplified texts, so say once why.
        const auto config = FindConfig();
        if (config.empty()) {
            std::cerr << "warning: " << kConfigName
                      << " not found in ../share/quelro/opencc beside the program; Traditional "
                         "Chinese texts stay in Simplified Chinese\n";
            return;
        }
        handle_ = opencc_open(config.c_str());
        if (!Ok())
            std::cerr << "warning: " << config.string() << ": " << opencc_error()
                      << "; Traditional Chinese texts stay in Simplified Chinese\n";
    }
    ~Converter() {
        if (Ok()) opencc_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return handle_ != reinterpret_cast<opencc_t>(-1); }

    std::string Convert(std::string_view text) {
        if (!Ok() || text.empty()) return std::string(text);
        std::lock_guard lock(mutex_);
        // Every language switch converts the same few hundred texts again.
        if (const auto known = converted_.find(text); known != converted_.end())
            return known->second;
        char* out = opencc_convert_utf8(handle_, text.data(), text.size());
        if (out == nullptr) return std::string(text);
        std::string result(out);
        opencc_convert_utf8_free(out);
        if (converted_.size() < kRememberedTexts) converted_.emplace(text, result);
        return result;
    }

  private:
    // Enough for every text of every window; texts beyond are converted
    // each time.
    static constexpr std::size_t kRememberedTexts = 4096;

    opencc_t handle_ = reinterpret_cast<opencc_t>(-1);
    std::mutex mutex_;
    std::map<std::string, std::string, std::less<>> converted_;
};

Converter& Instance() {
    static Converter converter;
    return converter;
}

} // namespace

std::string ToTraditional(std::string_view text) {
    // Only Chinese characters change: texts without any (numbers, tone codes,
    // most list entries) need no dictionary, nor opening it.
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; }))
        return std::string(text);
    return Instance().Convert(text);
}

bool TraditionalAvailable() {
    return Instance().Ok();
}

} // namespace quelro
