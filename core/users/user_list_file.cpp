// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/users/user_list_file.h"

#include "core/internal_error.h"
#include "core/io/byte_reader.h"
#include "core/io/byte_writer.h"
#include "core/io/chunk_writer.h"

namespace fitquill {
namespace {

constexpr size_t kMaxNames = 0xFFFF;

} // namespace

std::vector<uint8_t> CUserListFile::Pack(const std::vector<std::string>& names) {
    if (names.size() > kMaxNames)
        RaiseInternalError(kInternalErrorGeneral, "too many names for the user list");
    CByteWriter payload;
    payload.AppendUint16(static_cast<uint16_t>(names.size()));
    for (const std::string& name : names)
        payload.AppendText(name);

    const uint8_t kHeader[] = {0x01, 0x00};
    CChunkWriter file;
    file.AppendChunk(kHeader);
    file.AppendChunk(payload.Bytes());
    return file.Release();
}

bool CUserListFile::Unpack(std::span<const uint8_t> bytes, std::vector<std::string>& names) {
    CByteReader file(bytes);
    file.Skip(8 + 2); // chunk 0: its header and exactly two bytes, whatever they hold
    file.Skip(4);     // chunk 1's number
    uint32_t length = file.ReadUint32LE();
    std::span<const uint8_t> payload = file.ReadBytes(length);
    if (file.Failed())
        return false;

    CByteReader list(payload);
    uint16_t count = list.ReadUint16();
    // Read name by name, so that the names before a damaged one are kept.
    for (uint16_t i = 0; i < count && !list.Failed(); ++i) {
        std::string name = list.ReadText(ETextNul::Optional);
        if (!list.Failed())
            names.push_back(std::move(name));
    }
    return !list.Failed();
}

} // namespace fitquill
