// Reading a programming from any of its three forms for the commands that
// only look at one: a .DAT data file, a JSON form or a CSV channel list,
// chosen by --format or the file's extension. A form is applied to the
// start-up state, or to a base data file, as import applies it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "cli/cli_common.h"
#include "files/programming_diff.h"
#include "i18n/captions.h"
#include "i18n/platform.h"

namespace quelro::cli {

// The programming in `path`. Trouble (unreadable, refused) is one line in
// `languageMode` on stderr naming the file, and nullopt;
// CSV rows left out are reported on stderr and the rest is taken.
std::optional<Programming> LoadProgramming(const std::string& path, const InputForm& form,
                                           int languageMode);

// "warning: " before a line that does not stop the command.
inline constexpr Caption kWarning{"警告：", "warning: "};

// "cannot write: <why>", or "cannot write" without a reason, in
// `languageMode`.
std::string CannotWriteText(const std::string& why, int languageMode);

// The LanguageMode of --lang (zh, en, zh-Hant or ""); without it, the
// language last chosen in the window program (its `parameter` file), else
// English.
int LanguageModeOf(const std::string& lang);

} // namespace quelro::cli
