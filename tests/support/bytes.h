#pragma once

// Files read and written byte for byte, for comparisons with the files in data/.
#include <QByteArray>
#include <QString>

#include <filesystem>
#include <fstream>
#include <map>
#include <string_view>

namespace test_bytes {

inline QByteArray bytes(std::string_view text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

inline QByteArray bytesOf(const std::filesystem::path &path) {
    std::ifstream file(path, std::ios::binary);
    return QByteArray::fromStdString({std::istreambuf_iterator<char>(file), {}});
}

inline void writeBytes(const std::filesystem::path &path, QByteArrayView text) {
    std::ofstream(path, std::ios::binary).write(text.data(), text.size());
}

// Every file below a folder, by its path relative to the folder.
inline std::map<QString, QByteArray> filesUnder(const std::filesystem::path &folder) {
    std::map<QString, QByteArray> files;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[QString::fromStdString(entry.path().lexically_relative(folder).string())] =
                bytesOf(entry.path());
    return files;
}

} // namespace test_bytes
