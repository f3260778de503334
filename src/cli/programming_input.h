// Reading a programming from any of its three forms for the commands that
// only look at one: a .DAT data file, a JSON form or a CSV channel list,
// chosen by --format or the file's extension. A form is applied to the
// start-up state, or to a base data file, as import applies it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "files/programming_diff.h"

namespace quelro::cli {

struct InputForm {
    std::string format; // "dat", "json", "csv" or "" (by extension)
    std::string base;   // data file the forms are applied to, or ""
};

// Adds --format and --base to a command.
void AddInputFormOptions(CLI::App& cmd, InputForm& form);

// The programming in `path`, its list cells in `languageMode`. Trouble
// (unreadable, refused) is one line on stderr naming the file, and nullopt;
// CSV rows left out are reported on stderr and the rest is taken.
std::optional<Programming> LoadProgramming(const std::string& path, const InputForm& form,
                                           int languageMode);

// Where the window program keeps its settings and the ports file:
// $XDG_CONFIG_HOME/quelro, else ~/.config/quelro; empty when neither is set.
std::filesystem::path SettingsFolder();

// --lang zh|en|zh-Hant, for every command that prints text for people.
void AddLanguageOption(CLI::App& cmd, std::string& lang);
// The LanguageMode of --lang; without it, the language last chosen in the
// window program (its `parameter` file), else English.
int LanguageModeOf(const std::string& lang);

} // namespace quelro::cli
