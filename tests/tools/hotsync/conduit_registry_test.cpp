// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill-hotsync/conduit_registry.h"

#include "conduit/conduit_api.h"

#include <gtest/gtest.h>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

const char* const kTwoConduits = "; comment\n"
                                 "[First]\r\n"
                                 "Module = first.so\n"
                                 "Creator=FQui\n"
                                 "RemoteDatabase=FirstDB\n"
                                 "LocalName=First/first.dat\n"
                                 "\n"
                                 "[Second]\n"
                                 "LocalName=second.dat\n"
                                 "RemoteDatabase=SecondDB\n"
                                 "Creator=abcd\n"
                                 "Module=/opt/second.so\n";

TEST(ConduitRegistryTest, ReadsConduitsInFileOrder) {
    CConduitRegistry registry;
    std::string error;
    ASSERT_TRUE(registry.Parse(kTwoConduits, "/etc/conduits", &error)) << error;
    ASSERT_EQ(registry.Conduits().size(), 2u);
    const SConduitRegistration& first = registry.Conduits()[0];
    EXPECT_EQ(first.name, "First");
    EXPECT_EQ(first.module, fs::path("/etc/conduits/first.so"));
    EXPECT_EQ(first.creatorId, 0x46517569u);
    EXPECT_EQ(first.remoteDatabase, "FirstDB");
    EXPECT_EQ(first.localName, "First/first.dat");
    EXPECT_EQ(registry.Conduits()[1].module, fs::path("/opt/second.so"));
    EXPECT_EQ(registry.Conduits()[1].creatorId, 0x61626364u);
    EXPECT_EQ(registry.Find("second"), &registry.Conduits()[1]);
    EXPECT_EQ(registry.Find("Third"), nullptr);
}

TEST(ConduitRegistryTest, RefusesDamagedRegistrationsAndKeepsThePreviousOnes) {
    const std::string good = "[A]\nModule=a.so\nCreator=FQui\nRemoteDatabase=A\nLocalName=a.dat\n";
    const struct {
        std::string text;
        std::string reason;
    } cases[] = {
        {"[A]\nModule=a.so\nCreator=FQui\nRemoteDatabase=A\n",
         "end of file: conduit A has no LocalName"},
        {good + "Color=red\n", "line 6: unknown key 'Color'"},
        {"[A]\nModule=a.so\n[B]\n", "line 3: conduit A has no Creator"},
        {good + "Module=b.so\n", "line 6: Module given twice"},
        {good + good, "line 6: the conduit A is registered twice"},
        {"Module=a.so\n" + good, "line 1: a value before the first [conduit]"},
        {"[A\n", "line 1: a conduit name that is empty, holds a separator or is not closed by ']'"},
        {"[A/B]\n",
         "line 1: a conduit name that is empty, holds a separator or is not closed by ']'"},
        {"[A]\nModule\n", "line 2: neither a [conduit] nor a Key=Value line"},
        {"[A]\nCreator=FQuiz\n", "line 2: a creator ID that is not four characters"},
        {"[A]\nRemoteDatabase=" + std::string(32, 'x') + "\n",
         "line 2: a remote database name longer than 31 characters"},
        {"[A]\nLocalName=/abs/a.dat\n", "line 2: a local name that is not a relative file name"},
        {"[A]\nModule=\n", "line 2: an empty Module or one with control characters"},
    };
    for (const auto& [text, reason] : cases) {
        CConduitRegistry registry;
        ASSERT_TRUE(registry.Parse(kTwoConduits, "/x"));
        std::string error;
        EXPECT_FALSE(registry.Parse(text, "/x", &error)) << text;
        EXPECT_EQ(error, reason + ".") << text;
        EXPECT_EQ(registry.Conduits().size(), 2u);
    }
}

// The registration that comes with the build: found from the program's folder, naming the
// databases and local names the conduit modules expect, and modules that exist.
TEST(ConduitRegistryTest, BuildTreeRegistrationMatchesTheConduits) {
    const auto file = CConduitRegistry::Locate(fs::path(FITQUILL_BUILD_DIR) / "bin");
    ASSERT_TRUE(file.has_value());
    CConduitRegistry registry;
    std::string error;
    ASSERT_TRUE(registry.Load(*file, &error)) << error;
    ASSERT_EQ(registry.Conduits().size(), 2u);
    const SConduitRegistration& journal = registry.Conduits()[0];
    const SConduitRegistration& food = registry.Conduits()[1];
    EXPECT_EQ(journal.remoteDatabase, kJournalRemoteDatabase);
    EXPECT_EQ(journal.localName, kJournalLocalName);
    EXPECT_EQ(food.remoteDatabase, kFoodRemoteDatabase);
    EXPECT_EQ(food.localName, kFoodLocalName);
    for (const auto& conduit : registry.Conduits()) {
        EXPECT_EQ(conduit.creatorId, kConduitCreator);
        EXPECT_TRUE(fs::is_regular_file(conduit.module)) << conduit.module;
    }
}

} // namespace
