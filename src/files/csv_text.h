// CSV text as spreadsheets and other programmers write it: records split by
// libcsv (RFC 4180 quoting), with the field delimiter found from the first
// line, a UTF-8 byte-order mark skipped and CRLF or LF line ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelro {

struct CsvRecord {
    int line = 0; // line of the text where the record starts, from 1
    std::vector<std::string> fields;
};

struct CsvText {
    std::vector<CsvRecord> records; // blank lines hold no record
    char delimiter = ',';
    // Set when the text is not well-formed CSV (a stray or unclosed quote):
    // the line where reading stopped and the field (from 1) it stopped in.
    std::optional<int> errorLine;
    int errorField = 0;
};

// Splits a text into records. The delimiter is a tab when the first line
// holds one, else ";" when that line holds more semicolons than commas
// (files from comma-decimal locales), else ",".
CsvText ParseCsvText(std::string_view text);

// One record in RFC 4180 form, comma-separated and ended by CRLF; only the
// fields that need it are quoted.
std::string CsvLine(const std::vector<std::string>& fields);

} // namespace quelro
