// Writes the rich test data file (test_images.h) to the path given, so that
// the tests not written in C++ (the screen-reader test) start from the same
// hand-written vector as the others.
#include <fstream>
#include <iostream>

#include "codes/conversions.h"
#include "support/test_images.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: test_data_file OUT.DAT\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << quelro::BytesFromHex("524D443437" + quelro::test::RichImage());
    return out.flush() ? 0 : 1;
}
