// Filling in the marks of the link's texts.
#include "i18n/captions_link.h"

#include <vector>

namespace quelro {

std::string LocalizeFilled(const Caption& caption, int languageMode,
                           std::initializer_list<std::string_view> values) {
    const std::string text = Localize(caption, languageMode);
    const std::vector<std::string_view> args(values);
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(text[i + 1] - '1');
            if (index < args.size()) {
                filled += args[index];
                ++i;
                continue;
            }
        }
        filled += text[i];
    }
    return filled;
}

} // namespace quelro
