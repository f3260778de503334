// Build-time tool of the Windows build (runs on the Linux host): the
// Traditional form of every non-ASCII character in the given source files,
// converted by OpenCC with our own configuration, written as a C++ table for
// i18n/traditional_win32.cpp. Since the program only ever converts its own
// texts, the characters of those texts are all the table needs.
//
// It refuses to write a table that would convert differently from OpenCC:
// every source line with non-ASCII text must convert as its characters do
// one by one, and each character must become exactly one character.
//   traditional_table CONFIG.json OUT.cpp SOURCE...
#include <opencc/opencc.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

namespace {

// The UTF-8 sequences of a text, one per character.
bool NextCharacter(const std::string& text, std::size_t& at, std::string& character) {
    if (at >= text.size()) return false;
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    character = text.substr(at, length);
    at += length;
    return true;
}

char32_t CodePoint(const std::string& character) {
    const unsigned char lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) return lead;
    char32_t value = lead & (0x7F >> character.size());
    for (std::size_t i = 1; i < character.size(); ++i)
        value = (value << 6) | (static_cast<unsigned char>(character[i]) & 0x3F);
    return value;
}

class Converter {
  public:
    explicit Converter(const char* config) : handle_(opencc_open(config)) {}
    ~Converter() {
        if (Ok()) opencc_close(handle_);
    }
    bool Ok() const { return handle_ != reinterpret_cast<opencc_t>(-1); }
    std::string Convert(const std::string& text) {
        char* out = opencc_convert_utf8(handle_, text.data(), text.size());
        std::string result = out != nullptr ? out : text;
        if (out != nullptr) opencc_convert_utf8_free(out);
        return result;
    }

  private:
    opencc_t handle_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: traditional_table CONFIG.json OUT.cpp SOURCE...\n";
        return 2;
    }
    Converter converter(argv[1]);
    if (!converter.Ok()) {
        std::cerr << argv[1] << ": " << opencc_error() << "\n";
        return 1;
    }
    std::map<char32_t, char32_t> table;
    for (int i = 3; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::string byCharacter, character;
            bool wide = false;
            for (std::size_t at = 0; NextCharacter(line, at, character);) {
                if (character.size() == 1) {
                    byCharacter += character;
                    continue;
                }
                wide = true;
                const std::string converted = converter.Convert(character);
                std::size_t end = 0;
                std::string single;
                if (!NextCharacter(converted, end, single) || end != converted.size()) {
                    std::cerr << argv[i] << ":" << number << ": " << character
                              << " does not convert to one character\n";
                    return 1;
                }
                if (converted != character) table[CodePoint(character)] = CodePoint(converted);
                byCharacter += converted;
            }
            if (wide && converter.Convert(line) != byCharacter) {
                std::cerr << argv[i] << ":" << number
                          << ": converts otherwise than character by character\n";
                return 1;
            }
        }
    }
    std::ostringstream out;
    out << "// Made by scripts/traditional_table.cpp from the sources' texts; do not edit.\n"
           "#include \"i18n/traditional_table.h\"\n\nnamespace quelro {\n\n"
           "const std::vector<TraditionalPair>& TraditionalTable() {\n"
           "    static const std::vector<TraditionalPair> table{\n";
    for (const auto& [simplified, traditional] : table)
        out << "        {0x" << std::hex << static_cast<unsigned long>(simplified) << ", 0x"
            << static_cast<unsigned long>(traditional) << std::dec << "},\n";
    out << "    };\n    return table;\n}\n\n} // namespace quelro\n";
    std::ofstream(argv[2], std::ios::binary) << out.str();
    return 0;
}
