// Why a transfer failed, as the link saw it, and the text that tells the user
// what happened and what to do. The transfer control decides the failure; the
// window and the terminal decide how to show it.
#pragma once

#include <string>
#include <string_view>

namespace quelro {

enum class FailureKind {
    NoAnswer,     // not one byte came back
    OnlyEcho,     // the cable echoed, the radio said nothing
    UnknownBytes, // bytes that are no reply of the dialogue
    BlockRefused, // the radio answered 15 to a written block
    WrongModel,   // an identity of another model
    Stopped,      // the radio answered, then fell silent
    CableLost,    // the device went away
    Refused,      // the user refused the band question
};

struct TransferFailure {
    FailureKind kind = FailureKind::NoAnswer;
    // UnknownBytes: the first bytes not understood; WrongModel: the model
    // word received; BlockRefused: the block's address, as "0x0070".
    std::string detail;
    // A write ended after the radio acknowledged at least one block and
    // before the last.
    bool halfWritten = false;
    bool operator==(const TransferFailure&) const = default;
};

// The message in the language: what happened and what to do, then (after a
// blank line) that the write is incomplete when it is. A refusal has only the
// latter, and no text at all when nothing was written.
std::string FailureText(const TransferFailure& failure, int languageMode);

// Up to eight bytes as "50 52 4F" (upper-case hex, a space between bytes).
std::string SpacedHex(std::string_view bytes);

} // namespace quelro
