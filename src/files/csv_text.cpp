// Reading and writing CSV records through libcsv.
#include "files/csv_text.h"

#include <csv.h>

#include <algorithm>

namespace quelro {
namespace {

struct Collector {
    CsvText* out;
    std::vector<std::string> fields;
    int line = 1;      // line being fed to the parser
    int startLine = 0; // line of the current record's first field
};

void OnField(void* data, std::size_t length, void* context) {
    auto* c = static_cast<Collector*>(context);
    if (c->fields.empty()) c->startLine = c->line;
    c->fields.emplace_back(static_cast<const char*>(data), length);
}

void OnRecordEnd(int /*terminator*/, void* context) {
    auto* c = static_cast<Collector*>(context);
    c->out->records.push_back({c->startLine, std::move(c->fields)});
    c->fields.clear();
}

// Only the space is trimmed around unquoted fields, so that a tab can be
// the delimiter.
int IsSpace(unsigned char c) {
    return c == ' ';
}

char FindDelimiter(std::string_view firstLine) {
    if (firstLine.find('\t') != std::string_view::npos) return '\t';
    const auto semicolons = std::count(firstLine.begin(), firstLine.end(), ';');
    const auto commas = std::count(firstLine.begin(), firstLine.end(), ',');
    return semicolons > commas ? ';' : ',';
}

bool NeedsQuotes(std::string_view field) {
    return field.find_first_of(",;\t\"\r\n") != std::string_view::npos ||
           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
}

} // namespace

CsvText ParseCsvText(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    CsvText out;
    out.delimiter = FindDelimiter(text.substr(0, text.find('\n')));

    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        out.errorLine = 1;
        return out;
    }
    csv_set_delim(&parser, static_cast<unsigned char>(out.delimiter));
    csv_set_space_func(&parser, IsSpace);
    Collector collector{&out, {}};
    // Fed a line at a time, so that every record knows where it started.
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size() - 1) + 1;
        const std::size_t length = end - pos;
        if (csv_parse(&parser, text.data() + pos, length, OnField, OnRecordEnd, &collector) !=
            length) {
            out.errorLine = collector.line;
            out.errorField = static_cast<int>(collector.fields.size()) + 1;
            break;
        }
        pos = end;
        ++collector.line;
    }
    if (!out.errorLine && csv_fini(&parser, OnField, OnRecordEnd, &collector) != 0) {
        out.errorLine = collector.line - 1;
        out.errorField = static_cast<int>(collector.fields.size()) + 1;
    }
    csv_free(&parser);
    if (out.errorLine) out.records.clear();
    return out;
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        const std::string& field = fields[i];
        if (!NeedsQuotes(field)) {
            line += field;
            continue;
        }
        // A quoted field takes at most twice its length plus the two quotes.
        std::string quoted(2 * field.size() + 2, '\0');
        quoted.resize(csv_write(quoted.data(), quoted.size(), field.data(), field.size()));
        line += quoted;
    }
    return line + "\r\n";
}

} // namespace quelro
