// SPDX-License-Identifier: GPL-3.0-or-later
// A conduit module for the HotSync Manager stand-in's tests. It decodes the records it receives
// from the documented offsets on its own and writes what it found, one line per call, to the file
// named by FITQUILL_TEST_CONDUIT_CALLS. FITQUILL_TEST_CONDUIT_ANSWER ("ACTION KIND") is what its
// "dialog" stores; FITQUILL_TEST_CONDUIT_FAIL makes a run log an abort;
// FITQUILL_TEST_CONDUIT_DELAY_MS makes a run take that long.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#define TEST_CONDUIT_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

uint32_t Get32(const void* record, size_t offset) {
    const auto* bytes = static_cast<const uint8_t*>(record) + offset;
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
}

void Put32(void* record, size_t offset, uint32_t value) {
    auto* bytes = static_cast<uint8_t*>(record) + offset;
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

std::string Text(const void* record, size_t offset, size_t width) {
    const char* begin = static_cast<const char*>(record) + offset;
    return std::string(begin, strnlen(begin, width));
}

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

void Append(const std::string& file, const std::string& line) {
    if (file.empty())
        return;
    if (FILE* out = std::fopen(file.c_str(), "a")) {
        std::fputs(line.c_str(), out);
        std::fclose(out);
    }
}

} // namespace

TEST_CONDUIT_EXPORT int32_t OpenConduit(void*, const void* properties) {
    const char* remote = nullptr;
    std::memcpy(&remote, static_cast<const uint8_t*>(properties) + 0x304, sizeof remote);
    const uint8_t* card = static_cast<const uint8_t*>(properties) + 0x390;
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, " creator=%08X card=%u",
                  static_cast<unsigned>(Get32(properties, 0x38C)),
                  static_cast<unsigned>(card[0] | card[1] << 8));
    Append(Variable("FITQUILL_TEST_CONDUIT_CALLS"),
           "open action=" + std::to_string(static_cast<int32_t>(Get32(properties, 0))) +
               " path=" + Text(properties, 0x004, 256) + " local=" + Text(properties, 0x104, 256) +
               " user=" + Text(properties, 0x204, 256) + " remote=" + (remote ? remote : "(null)") +
               numbers + " handheld=" + Variable("FITQUILL_HANDHELD_DIR") + "\n");
    if (const int delay = std::atoi(Variable("FITQUILL_TEST_CONDUIT_DELAY_MS").c_str()); delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    const bool fail = !Variable("FITQUILL_TEST_CONDUIT_FAIL").empty();
    Append(Variable("FITQUILL_HOTSYNC_LOG"),
           fail ? "-1\tTest: failing\n21\tTest:\n" : "-1\tTest: called\n20\tTest\n");
    return 0;
}

TEST_CONDUIT_EXPORT int32_t GetConduitName(char* buffer, uint16_t length) {
    if (buffer == nullptr || length < 2)
        return -1;
    std::snprintf(buffer, length, "%s", "Testing");
    return 0;
}

TEST_CONDUIT_EXPORT uint32_t GetConduitVersion() {
    return 1;
}

TEST_CONDUIT_EXPORT int32_t GetConduitInfo(int32_t query, const void*, void* output,
                                           uint32_t* size) {
    if (query != 2 || output == nullptr || size == nullptr || *size != 4)
        return 0x1070;
    Put32(output, 0, 0);
    return 0;
}

TEST_CONDUIT_EXPORT int32_t ConfigureConduit(void*) {
    return -1;
}

TEST_CONDUIT_EXPORT int32_t CfgConduit(int32_t kind, void* configuration, uint32_t* size) {
    char line[160];
    std::snprintf(line, sizeof line,
                  "cfg kind=%d size=%u version=%u recsize=%X creator=%08X user=%u permanent=%d "
                  "next=%d name=",
                  kind, static_cast<unsigned>(*size),
                  static_cast<unsigned>(Get32(configuration, 0)),
                  static_cast<unsigned>(Get32(configuration, 4)),
                  static_cast<unsigned>(Get32(configuration, 8)),
                  static_cast<unsigned>(Get32(configuration, 0xC)),
                  static_cast<int32_t>(Get32(configuration, 0x150)),
                  static_cast<int32_t>(Get32(configuration, 0x154)));
    Append(Variable("FITQUILL_TEST_CONDUIT_CALLS"), line + Text(configuration, 0x10, 64) + "\n");
    int action = 0, preference = 0;
    if (std::sscanf(Variable("FITQUILL_TEST_CONDUIT_ANSWER").c_str(), "%d %d", &action,
                    &preference) == 2) {
        Put32(configuration, 0x158, static_cast<uint32_t>(action));
        Put32(configuration, 0x15C, static_cast<uint32_t>(preference));
    }
    return 0;
}
