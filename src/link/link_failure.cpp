// The texts of failed transfers.
#include "link/link_failure.h"

#include "codes/conversions.h"
#include "i18n/captions_link.h"

namespace quelro {

std::string SpacedHex(std::string_view bytes) {
    constexpr std::size_t kShown = 8;
    std::string text;
    for (std::size_t i = 0; i < bytes.size() && i < kShown; ++i) {
        if (i > 0) text += ' ';
        text += HexFromBytes(bytes.substr(i, 1));
    }
    return text;
}

std::string FailureText(const TransferFailure& failure, int languageMode) {
    std::string text;
    switch (failure.kind) {
    case FailureKind::NoAnswer:
        text = Localize(linktext::kNoAnswer, languageMode);
        break;
    case FailureKind::OnlyEcho:
        text = Localize(linktext::kOnlyEcho, languageMode);
        break;
    case FailureKind::UnknownBytes:
        text = LocalizeFilled(linktext::kUnknownBytes, languageMode, {SpacedHex(failure.detail)});
        break;
    case FailureKind::BlockRefused:
        text = LocalizeFilled(linktext::kBlockRefused, languageMode, {failure.detail});
        break;
    case FailureKind::WrongModel:
        text = LocalizeFilled(linktext::kWrongModel, languageMode, {failure.detail});
        break;
    case FailureKind::Stopped:
        text = Localize(linktext::kStopped, languageMode);
        break;
    case FailureKind::CableLost:
        text = Localize(linktext::kCableLost, languageMode);
        break;
    case FailureKind::Refused:
        break;
    }
    if (failure.halfWritten) {
        if (!text.empty()) text += "\n\n";
        text += Localize(linktext::kWriteIncomplete, languageMode);
    }
    return text;
}

} // namespace quelro
