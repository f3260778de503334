// File names between Qt and std::filesystem, through their Unicode text: no
// local 8-bit encoding on the way, so a name such as 收音机.DAT stays whole on
// every system.
#pragma once

#include <QString>

#include <filesystem>

namespace quelro {

inline std::filesystem::path PathOf(const QString& name) {
    return std::filesystem::path(name.toStdU16String());
}

inline QString NameOf(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

} // namespace quelro
