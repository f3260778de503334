// Reading and writing .DAT data files.
#include "files/data_file.h"

#include <cerrno>

#include "codes/conversions.h"
#include "i18n/captions.h"
#include "image/memory_image.h"

namespace quelro {

DataFileRead ReadDataFile(const std::filesystem::path& path) {
    DataFileRead result;
    // The file holds 853 bytes; two more positions are read as the radio's
    // own tool does, and anything beyond them is ignored.
    const FileBytes file = ReadRegularFile(path, kDataFileSize + 2);
    if (!file.ok) {
        result.code = file.code;
        result.error = FileErrorReason(file.code, kEnglish);
        return result;
    }
    return ParseDataFile(file.bytes);
}

DataFileRead ParseDataFile(std::string_view bytes) {
    DataFileRead result;
    bytes = bytes.substr(0, kDataFileSize + 2);
    const std::string hex = HexFromBytes(bytes);
    if (hex.substr(0, kDataFileTagHex.size()) != kDataFileTagHex ||
        bytes.size() < kDataFileMinSize) {
        result.status = DataFileRead::WrongType;
        return result;
    }
    result.status = DataFileRead::Ok;
    result.imageHex = hex.substr(kDataFileTagHex.size());
    return result;
}

DataFileWrite WriteDataFile(const std::filesystem::path& path, std::string_view imageHex) {
    if (imageHex.size() < kImageHexLength) return {false, "the image is incomplete", EINVAL};
    std::string bytes = BytesFromHex(kDataFileTagHex);
    bytes += BytesFromHex(imageHex.substr(0, kImageHexLength));
    return WriteFileAtomically(path, bytes);
}

} // namespace quelro
