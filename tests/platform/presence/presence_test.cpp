// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/presence/presence_client.h"
#include "platform/presence/presence_protocol.h"
#include "platform/presence/presence_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <thread>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

class PresenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/fq-presence-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
        m_socket = m_folder / kPresenceSocketName;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    // Leaves a socket file behind that nobody listens on, as a crashed program does.
    void MakeStaleSocket() {
        int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, m_socket.c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
        ASSERT_TRUE(fs::exists(m_socket));
    }

    // Runs the client call on another thread while this one serves, as the two programs do.
    template <typename Call>
    std::pair<bool, std::vector<SPresenceMessage>> Exchange(CPresenceServer& server, Call call) {
        auto answered = std::async(std::launch::async, call);
        std::vector<SPresenceMessage> taken;
        for (int i = 0; i < 200 && answered.wait_for(std::chrono::milliseconds(10)) !=
                                       std::future_status::ready;
             ++i) {
            auto more = server.TakeMessages();
            taken.insert(taken.end(), more.begin(), more.end());
        }
        return {answered.get(), taken};
    }

    fs::path m_folder;
    fs::path m_socket;
};

} // namespace

TEST(PresenceProtocol, MessagesRoundTripAndForeignLinesAreRejected) {
    for (SPresenceMessage message :
         {SPresenceMessage{EPresenceRequest::Ping, 0},
          SPresenceMessage{EPresenceRequest::BringToFront, 0},
          SPresenceMessage{EPresenceRequest::HotSyncNotice, 0},
          SPresenceMessage{EPresenceRequest::HotSyncNotice, 4294967295u}}) {
        std::string line = EncodePresenceMessage(message);
        EXPECT_EQ(line.back(), '\n');
        EXPECT_LE(line.size(), kPresenceMaxMessage);
        EXPECT_EQ(DecodePresenceMessage(line), message) << line;
    }
    for (const char* bad :
         {"", "\n", "HOTSYNC\n", "HOTSYNC \n", "HOTSYNC -1\n", "HOTSYNC +5\n",
          "HOTSYNC 4294967296\n", "HOTSYNC 12x\n", "HOTSYNC  12\n", "raise\n", "RAISE now\n"})
        EXPECT_EQ(DecodePresenceMessage(bad), std::nullopt) << bad;
}

TEST(PresenceProtocol, FolderComesFromTheOverrideThenTheRuntimeFolder) {
    const char* savedOverride = std::getenv(kPresenceFolderVariable);
    const char* savedRuntime = std::getenv("XDG_RUNTIME_DIR");
    std::string keepOverride = savedOverride ? savedOverride : "";
    std::string keepRuntime = savedRuntime ? savedRuntime : "";

    ::setenv(kPresenceFolderVariable, "/tmp/override", 1);
    ::setenv("XDG_RUNTIME_DIR", "/run/user/77", 1);
    EXPECT_EQ(PresenceSocketPath(), fs::path("/tmp/override/Fitquill Desktop"));
    ::setenv(kPresenceFolderVariable, "", 1);
    EXPECT_EQ(PresenceSocketPath(), fs::path("/run/user/77/Fitquill Desktop"));
    ::unsetenv("XDG_RUNTIME_DIR");
    fs::path fallback = PresenceFolder();
    EXPECT_NE(fallback.filename().string().find(std::to_string(::getuid())), std::string::npos)
        << "a shared temporary folder must be told apart per user: " << fallback;

    savedOverride ? ::setenv(kPresenceFolderVariable, keepOverride.c_str(), 1)
                  : ::unsetenv(kPresenceFolderVariable);
    savedRuntime ? ::setenv("XDG_RUNTIME_DIR", keepRuntime.c_str(), 1)
                 : ::unsetenv("XDG_RUNTIME_DIR");
}

TEST_F(PresenceTest, WithoutADesktopEveryCallFailsAndNothingIsCreated) {
    CPresenceClient client(m_socket);
    EXPECT_FALSE(client.IsDesktopRunning());
    EXPECT_FALSE(client.BringToFront());
    EXPECT_FALSE(client.SendHotSyncNotice(12));
    EXPECT_FALSE(client.LastError().empty());
    EXPECT_FALSE(fs::exists(m_socket));
}

TEST_F(PresenceTest, ARunningDesktopReceivesEachRequestOnceInOrder) {
    CPresenceServer server(m_socket);
    ASSERT_EQ(server.Listen(), EPresenceListen::Listening) << server.LastError();
    CPresenceClient client(m_socket);

    auto [running, pings] = Exchange(server, [&] { return client.IsDesktopRunning(); });
    EXPECT_TRUE(running);
    ASSERT_EQ(pings.size(), 1u);
    EXPECT_EQ(pings[0].request, EPresenceRequest::Ping);

    auto [raised, raises] = Exchange(server, [&] { return client.BringToFront(); });
    EXPECT_TRUE(raised);
    ASSERT_EQ(raises.size(), 1u);
    EXPECT_EQ(raises[0].request, EPresenceRequest::BringToFront);

    auto [noticed, notices] =
        Exchange(server, [&] { return client.SendHotSyncNotice(3735928559u); });
    EXPECT_TRUE(noticed);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], (SPresenceMessage{EPresenceRequest::HotSyncNotice, 3735928559u}));
    EXPECT_TRUE(server.TakeMessages().empty()) << "nothing is delivered twice";
}

TEST_F(PresenceTest, OnlyOneDesktopListensAndTheSocketIsPrivate) {
    CPresenceServer first(m_socket);
    ASSERT_EQ(first.Listen(), EPresenceListen::Listening);
    CPresenceServer second(m_socket);
    EXPECT_EQ(second.Listen(), EPresenceListen::AlreadyRunning);
    EXPECT_FALSE(second.IsListening());
    // The second server's probe must not have disturbed the first one.
    EXPECT_TRUE(fs::exists(m_socket));
    struct stat info;
    ASSERT_EQ(::stat(m_socket.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u);
    first.TakeMessages();
    CPresenceClient client(m_socket);
    EXPECT_TRUE(Exchange(first, [&] { return client.IsDesktopRunning(); }).first);
}

TEST_F(PresenceTest, AStaleSocketCountsAsNotRunningAndIsReplaced) {
    MakeStaleSocket();
    CPresenceClient client(m_socket);
    EXPECT_FALSE(client.IsDesktopRunning());

    CPresenceServer server(m_socket);
    ASSERT_EQ(server.Listen(), EPresenceListen::Listening) << server.LastError();
    EXPECT_TRUE(Exchange(server, [&] { return client.IsDesktopRunning(); }).first);
}

TEST_F(PresenceTest, AFileThatIsNotASocketIsNeverRemoved) {
    std::ofstream(m_socket) << "precious";
    CPresenceServer server(m_socket);
    EXPECT_EQ(server.Listen(), EPresenceListen::Failed);
    EXPECT_FALSE(server.LastError().empty());
    std::ifstream in(m_socket);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "precious");
}

TEST_F(PresenceTest, EndingRemovesOnlyTheServersOwnSocketFile) {
    {
        CPresenceServer server(m_socket);
        ASSERT_EQ(server.Listen(), EPresenceListen::Listening);
    }
    EXPECT_FALSE(fs::exists(m_socket));

    // A server whose file was replaced by a later program leaves that program's file alone.
    auto first = std::make_unique<CPresenceServer>(m_socket);
    ASSERT_EQ(first->Listen(), EPresenceListen::Listening);
    fs::remove(m_socket);
    CPresenceServer later(m_socket);
    ASSERT_EQ(later.Listen(), EPresenceListen::Listening);
    first.reset();
    EXPECT_TRUE(fs::exists(m_socket));
    CPresenceClient client(m_socket);
    EXPECT_TRUE(Exchange(later, [&] { return client.IsDesktopRunning(); }).first);
}

TEST_F(PresenceTest, MissingFolderIsCreatedPrivateAndAForeignFolderIsRefused) {
    fs::path nested = m_folder / "run" / "fitquill" / kPresenceSocketName;
    CPresenceServer server(nested);
    ASSERT_EQ(server.Listen(), EPresenceListen::Listening) << server.LastError();
    struct stat info;
    ASSERT_EQ(::stat(nested.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u);

    fs::path open = m_folder / "open";
    fs::create_directory(open);
    ::chmod(open.c_str(), 0777);
    CPresenceServer refused(open / kPresenceSocketName);
    EXPECT_EQ(refused.Listen(), EPresenceListen::Failed);
    EXPECT_FALSE(fs::exists(open / kPresenceSocketName));
}

TEST_F(PresenceTest, ClientsThatSendNothingOrGarbageDoNotBlockOrDeliver) {
    CPresenceServer server(m_socket);
    ASSERT_EQ(server.Listen(), EPresenceListen::Listening);
    auto rawSend = [&](const std::string& bytes) {
        int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, m_socket.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        if (!bytes.empty()) {
            EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        }
        ::close(fd);
    };
    rawSend("");
    rawSend("HOTSYNC 12x\n");
    rawSend(std::string(500, 'A'));
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(server.TakeMessages().empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    // A well-formed message after them still arrives.
    CPresenceClient client(m_socket);
    auto [sent, taken] = Exchange(server, [&] { return client.SendHotSyncNotice(7); });
    EXPECT_TRUE(sent);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].palmUserId, 7u);
}

TEST_F(PresenceTest, ASocketPathTooLongForAnAddressFailsCleanly) {
    fs::path longPath = m_folder / std::string(120, 'x') / kPresenceSocketName;
    CPresenceServer server(longPath);
    EXPECT_EQ(server.Listen(), EPresenceListen::Failed);
    EXPECT_FALSE(CPresenceClient(longPath).IsDesktopRunning());
}
