// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers for the tests of the desktop files: payloads built from the documented layouts
// independently of the writers under test, chunk framing, file access and a one-user library.

#include "core/users/user_library.h"

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill::testing {

using Bytes = std::vector<uint8_t>;

class CBuilder {
public:
    CBuilder& U8(unsigned v) {
        m_bytes.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    CBuilder& U16(unsigned v) { return U8(v >> 8).U8(v); }
    CBuilder& I16(int v) { return U16(static_cast<uint16_t>(v)); }
    CBuilder& U32(uint32_t v) { return U16(v >> 16).U16(v & 0xFFFF); }
    CBuilder& U32LE(uint32_t v) { return U8(v).U8(v >> 8).U8(v >> 16).U8(v >> 24); }
    CBuilder& F32(float v) { return U32(std::bit_cast<uint32_t>(v)); }
    // Length counting the NUL, the bytes and the NUL (food texts, even when empty).
    CBuilder& Text(const std::string& text) {
        U16(static_cast<unsigned>(text.size() + 1));
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return U8(0);
    }
    // Journal texts: an empty one is length 0 and nothing else.
    CBuilder& JournalText(const std::string& text) { return text.empty() ? U16(0) : Text(text); }
    CBuilder& Fixed(const std::string& text, size_t width) {
        Bytes field(width, 0);
        std::copy(text.begin(), text.end(), field.begin());
        return Append(field);
    }
    CBuilder& Date(int month, int day, int year) { return I16(month).I16(day).I16(year); }
    CBuilder& Measure(float amount, unsigned unit, unsigned unitSet) {
        return F32(amount).U8(unit).U8(unitSet);
    }
    CBuilder& Append(const Bytes& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    size_t Size() const { return m_bytes.size(); }
    const Bytes& Get() const { return m_bytes; }

private:
    Bytes m_bytes;
};

// Frames payloads as a desktop file: little-endian chunk number and length before each.
inline Bytes Chunks(const std::vector<Bytes>& payloads) {
    CBuilder file;
    uint32_t number = 0;
    for (const Bytes& payload : payloads)
        file.U32LE(number++).U32LE(static_cast<uint32_t>(payload.size())).Append(payload);
    return file.Get();
}

// The payloads of a well-formed file.
inline std::vector<Bytes> Payloads(const Bytes& file) {
    std::vector<Bytes> payloads;
    size_t at = 0;
    while (at + 8 <= file.size()) {
        const size_t length = file[at + 4] | file[at + 5] << 8 | file[at + 6] << 16 |
                              static_cast<size_t>(file[at + 7]) << 24;
        payloads.emplace_back(file.begin() + static_cast<long>(at + 8),
                              file.begin() + static_cast<long>(at + 8 + length));
        at += 8 + length;
    }
    return payloads;
}

inline Bytes FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A user library with one user, "Ann Lee", whose data folder is "AnnL" under `root`.
class COneUserLibrary : public IUserLibrary {
public:
    explicit COneUserLibrary(std::string root) : m_root(std::move(root)) {}
    int32_t UserCount() override { return 1; }
    int32_t GetUserHandle(int32_t index, UserHandle& user) override {
        user = kAnn;
        return index == 0 ? 0 : -1;
    }
    int32_t GetUserName(UserHandle user, std::string& name, uint16_t&) override {
        name = "Ann Lee";
        return user == kAnn ? 1 : -1;
    }
    int32_t GetUserFolderName(UserHandle user, std::string& folder, uint16_t&) override {
        folder = "AnnL";
        return user == kAnn ? 0 : -1;
    }
    int32_t GetUsersRoot(std::string& root, uint16_t& size) override {
        root = m_root;
        size = static_cast<uint16_t>(m_root.size() + 1);
        return size;
    }
    int32_t RenameUser(UserHandle, std::string_view) override { return -1; }
    int32_t AddUser(std::string_view) override { return -1; }
    int32_t DeleteUser(UserHandle) override { return -1; }
    int32_t FindUserByName(std::string_view name, UserHandle& user) override {
        user = kAnn;
        return name == "Ann Lee" ? 0 : -1;
    }
    int32_t FindUserByPath(std::string_view path, UserHandle& user) override {
        askedPaths.emplace_back(path);
        user = kAnn;
        return path == m_root + "AnnL" ? 0 : -1;
    }

    std::vector<std::string> askedPaths;

private:
    static constexpr UserHandle kAnn = 7;
    std::string m_root;
};

} // namespace fitquill::testing
