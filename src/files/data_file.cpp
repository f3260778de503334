// Reading and writing .DAT data files.
#include "files/data_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

#include <fcntl.h>
#include <unistd.h>

#include "image/memory_image.h"

namespace quelro {

DataFileRead ReadDataFile(const std::filesystem::path& path) {
    DataFileRead result;
    // Opened for reading only, so a name that does not exist creates nothing.
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = std::strerror(errno);
        return result;
    }
    // The file holds 853 bytes; two more positions are read as the radio's
    // own tool does, and anything beyond them is ignored.
    std::string bytes(kDataFileSize + 2, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        result.error = std::strerror(errno);
        return result;
    }
    return ParseDataFile(bytes);
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

DataFileWrite WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    DataFileWrite result;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::random_device random;
    std::string name = "." + path.filename().string() + ".tmp" + std::to_string(random() % 1000000);
    const fs::path temporary = folder / name;
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        result.error = std::strerror(errno);
        return result;
    }
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            ok = false;
        else
            done += static_cast<std::size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (!ok) result.error = std::strerror(errno);
    if (::close(fd) != 0 && ok) {
        ok = false;
        result.error = std::strerror(errno);
    }
    // An existing file keeps its permissions.
    std::error_code ec;
    if (ok && fs::exists(path, ec))
        fs::permissions(temporary, fs::status(path, ec).permissions(), ec);
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        result.error = std::strerror(errno);
    }
    if (!ok) {
        fs::remove(temporary, ec);
        return result;
    }
    result.ok = true;
    return result;
}

DataFileWrite WriteDataFile(const std::filesystem::path& path, std::string_view imageHex) {
    if (imageHex.size() < kImageHexLength) return {false, "the image is incomplete"};
    std::string bytes = BytesFromHex(kDataFileTagHex);
    bytes += BytesFromHex(imageHex.substr(0, kImageHexLength));
    return WriteFileAtomically(path, bytes);
}

} // namespace quelro
