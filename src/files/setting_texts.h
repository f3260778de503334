// The settings of a programming as the windows show them: each one under the
// window that edits it, with that window's caption and the text its control
// shows. The comparison of two programmings and the channel sheet read the
// settings from here, so both name a setting as the user finds it.
//
// The DTMF group, which the program keeps on a part of the optional-function
// window that is never shown, carries its Chinese design texts and English
// ones of ours.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "image/image_fields.h"

namespace quelro {

struct SettingText {
    SettingGroup group;
    std::string label; // the caption beside the control
    std::string value; // what the control shows
};

// Every setting of `state` with its texts in `languageMode`. The list has the
// same length and order for every state, so two lists pair entry by entry.
std::vector<SettingText> SettingTexts(const ProgramState& state, int languageMode);

// The title of a group's window or frame.
std::string GroupTitle(SettingGroup group, int languageMode);

// A radio text between quotes; bytes without a printable character (and the
// quote and backslash) are written as \xNN, so that every byte string shows
// differently.
std::string QuotedRadioText(std::string_view bytes);

// The band's list text, or "-" when none is selected.
std::string BandText(const ProgramState& state);

} // namespace quelro
