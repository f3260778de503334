// Sub-audible tones: the 261-entry tone list and the ToneWord conversions.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quelro {

inline constexpr int kToneListSize = 261;
inline constexpr int kFirstDcsNormal = 51;
inline constexpr int kFirstDcsInverted = 156;

extern const std::array<std::string_view, 50> kCtcssTones;
extern const std::array<std::string_view, 105> kDcsCodes; // "023" .. "754"

// Item `index` (0..260) of the tone list; item 0 is the off text of the language.
std::string ToneItem(int index, int languageMode);

// The list position of a tone that is no entry of the list (a decoded odd
// word such as ".5" or "D777N").
inline constexpr int kToneNotListed = -1;

// List position of a tone text among items 1..260, or kToneNotListed.
int ToneIndexOf(std::string_view text);

// A tone as the image stores it: FFFF is off.
inline constexpr std::uint16_t kToneOffWord = 0xFFFF;

// The word of a tone text ("88.5", "D023N"); the empty text is off. Texts
// are read as EncodeToneWord reads them.
std::uint16_t ToneWordOf(std::string_view text);

// The text of a tone word, empty for off.
std::string ToneWordText(std::uint16_t word);

// The word a stored word is written back as: a DCS word is always written
// with its marker bit, so an odd stored word becomes the code its text shows.
std::uint16_t WrittenToneWord(std::uint16_t stored);

// Encodes a tone cell into its ToneWord as 4 hex characters in storage order
// (low byte first). An empty cell, or one holding `offText`, is "FFFF".
std::string EncodeToneWord(std::string_view cell, std::string_view offText);

// Decodes a ToneWord given as 4 hex characters, high byte first ("2813").
// Returns the cell text for a used channel; `isOff` tells the FFFF case, for
// which the text is `offText`.
std::string DecodeToneWord(std::string_view word, std::string_view offText, bool& isOff);

} // namespace quelro
