// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fitquill {

// A file in the temporary folder for one benchmark program, removed with the object.
class CBenchFile {
public:
    explicit CBenchFile(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() / ("fitquill_bench_" + name)) {}
    ~CBenchFile() {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }
    CBenchFile(const CBenchFile&) = delete;
    CBenchFile& operator=(const CBenchFile&) = delete;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The yardsticks: the same bytes with one plain read or one plain write of the whole file.
inline bool PlainRead(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    if (file == nullptr)
        return false;
    bytes.resize(static_cast<std::size_t>(std::filesystem::file_size(path)));
    const bool ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    return ok;
}

inline bool PlainWrite(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace fitquill
