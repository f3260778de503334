// quelro-cli diff A B: what differs between two programmings, for people or
// as a JSON Patch between their JSON forms. Exits as diff(1) does: 0 when
// they are the same, 1 when they differ, 2 on trouble.
#include <iostream>

#include "cli/cli_common.h"
#include "cli/programming_input.h"
#include "files/json_form.h"
#include "files/json_patch.h"

namespace quelro::cli {

namespace {

constexpr int kExitSame = 0;
constexpr int kExitDiffer = 1;

} // namespace

int RunDiff(const DiffArgs& args) {
    const int lang = LanguageModeOf(args.lang);
    const std::optional<Programming> a = LoadProgramming(args.first, args.form, lang);
    if (!a) return kExitBadInput;
    const std::optional<Programming> b = LoadProgramming(args.second, args.form, lang);
    if (!b) return kExitBadInput;
    const std::vector<Difference> differences = CompareProgrammings(*a, *b, lang);
    if (args.json) {
        const Json patch = JsonPatch(ExportJsonForm(a->state), ExportJsonForm(b->state));
        std::cout << patch.dump(2, ' ', true, Json::error_handler_t::replace) << "\n";
        // The patch cannot carry these; they still make the two differ.
        for (const Difference& d : differences)
            if (d.kind == Difference::ImageByte)
                std::cerr << "quelro-cli: warning: " << DifferenceLine(d)
                          << ": the JSON form does not carry this byte\n";
    } else {
        for (const Difference& d : differences) std::cout << DifferenceLine(d) << "\n";
    }
    std::cout << std::flush;
    if (!std::cout) {
        std::cerr << "quelro-cli: (stdout): " << CannotWriteText("", lang) << "\n";
        return kExitBadInput;
    }
    return differences.empty() ? kExitSame : kExitDiffer;
}

} // namespace quelro::cli
