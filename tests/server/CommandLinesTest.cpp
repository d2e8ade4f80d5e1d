// The command lines of nightcap-server and nightcap-publish: what each takes, refuses and defaults to.
#include "server/PublishCommandLine.h"
#include "server/ServerCommandLine.h"

#include <gtest/gtest.h>

using namespace server;

namespace {

using Args = std::vector<std::string>;
using Command = PublishCommandLine::Command;

std::string Shown(const Args& args) {
    std::string shown;
    for (const std::string& arg : args)
        shown += "[" + arg + "]";
    return shown;
}

TEST(ServerCommandLineTest, DefaultsEnvironmentAndEveryOption) {
    const ServerEnvironment environment{std::string("env-token"), "postgresql://env", std::nullopt,
                                                std::nullopt};
    const auto plain = ParseServerCommandLine({"--data", "d"}, environment);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->options.dataDir, "d");
    EXPECT_EQ(plain->host, "127.0.0.1");
    EXPECT_EQ(plain->port, 8080);
    EXPECT_EQ(plain->portFile, "");
    EXPECT_EQ(plain->limits.workers, ServerLimits().workers);
    EXPECT_EQ(plain->options.token, "env-token");
    EXPECT_EQ(plain->database, "postgresql://env");
    EXPECT_TRUE(plain->databaseArguments.empty());
    EXPECT_FALSE(plain->options.demo);

    const auto full = ParseServerCommandLine(
        {"--demo", "--data", "d", "--database", "postgresql://arg", "--host", "0.0.0.0", "--port", "0", "--port-file",
         "p", "--token", "arg-token", "--own-host", "a", "--own-host", "b:81", "--threads", "256", "--per-address", "0",
         "--max-connections", "100000"},
        environment);
    ASSERT_TRUE(full);
    EXPECT_TRUE(full->options.demo);
    EXPECT_EQ(full->database, "postgresql://arg");
    EXPECT_EQ(full->databaseArguments, std::vector<size_t>{4});
    EXPECT_EQ(full->host, "0.0.0.0");
    EXPECT_EQ(full->port, 0);
    EXPECT_EQ(full->portFile, "p");
    EXPECT_EQ(full->options.token, "arg-token");
    EXPECT_EQ(full->options.ownHosts, (Args{"a", "b:81"}));
    EXPECT_EQ(full->limits.workers, 256u);
    EXPECT_EQ(full->limits.maxPerAddress, 0u);
    EXPECT_EQ(full->limits.maxConnections, 100000u);
}

TEST(ServerCommandLineTest, RefusesMissingDataEmptyDatabaseAndNumbersOutOfRange) {
    const std::vector<Args> refused = {
        {},
        {"--port", "80"},
        {"--data", "d", "--database", ""},
        {"--data", "d", "--port", "65536"},
        {"--data", "d", "--port", "-1"},
        {"--data", "d", "--port", "80x"},
        {"--data", "d", "--port", ""},
        {"--data", "d", "--threads", "0"},
        {"--data", "d", "--threads", "257"},
        {"--data", "d", "--per-address", "100001"},
        {"--data", "d", "--max-connections", "0"},
        {"--data", "d", "--port", "99999999999999999999"},
        {"--data", "d", "--host"},
        {"--data", "d", "--unknown", "x"},
        {"--data", "d", "extra"},
    };
    for (const Args& args : refused) {
        EXPECT_FALSE(ParseServerCommandLine(args, {})) << Shown(args);
    }
}

TEST(ServerCommandLineTest, TestClockAndFaultFromTheEnvironment) {
    ServerOptions options;
    EXPECT_EQ(ApplyTestSettings({std::nullopt, "", std::string("1370000000"), std::string("cut:Nightcap.exe")},
                                        options),
              "");
    ASSERT_TRUE(options.clock);
    EXPECT_EQ(options.clock(), 1370000000);
    EXPECT_EQ(options.fault.kind, TestFault::Kind::Cut);
    EXPECT_EQ(options.fault.file, "Nightcap.exe");

    EXPECT_NE(ApplyTestSettings({std::nullopt, "", std::string("soon"), std::nullopt}, options), "");
    EXPECT_NE(ApplyTestSettings({std::nullopt, "", std::string("-1"), std::nullopt}, options), "");
    EXPECT_NE(ApplyTestSettings({std::nullopt, "", std::nullopt, std::string("break:all")}, options), "");
}

constexpr int64_t kNow = 1700000000;

TEST(PublishCommandLineTest, PicksTheCommand) {
    const auto keygen = ParsePublishCommandLine({"keygen", "release.key"}, "", kNow);
    ASSERT_TRUE(keygen);
    EXPECT_EQ(keygen->command, Command::Keygen);
    EXPECT_EQ(keygen->keyFile, "release.key");
    const auto shown = ParsePublishCommandLine({"public-key", "release.key"}, "", kNow);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->command, Command::PublicKey);

    const auto resign = ParsePublishCommandLine({"resign", "--data", "d", "--product", "P", "--key", "k"}, "", kNow);
    ASSERT_TRUE(resign);
    EXPECT_EQ(resign->command, Command::Resign);
    EXPECT_EQ(resign->keyFiles, std::vector<std::filesystem::path>{"k"});

    for (const bool yes : {true, false}) {
        const auto ask = ParsePublishCommandLine(
            {"--data", "d", "--product", "P", "--arch", "x64", "--ask-update", yes ? "yes" : "no"}, "", kNow);
        ASSERT_TRUE(ask);
        EXPECT_EQ(ask->command, Command::AskUpdate);
        EXPECT_EQ(ask->askUpdate, yes);
        EXPECT_EQ(ask->statedArch, ReleaseArch::X64);
    }

    const auto publish = ParsePublishCommandLine({"--data", "d", "--version", "1.2", "release"}, "postgresql://env", kNow);
    ASSERT_TRUE(publish);
    EXPECT_EQ(publish->command, Command::Publish);
    EXPECT_EQ(publish->releaseDir, "release");
    EXPECT_EQ(publish->version, "1.2");
    EXPECT_EQ(publish->database, "postgresql://env");
    EXPECT_EQ(publish->expires, kNow + 30 * 86400);
    EXPECT_FALSE(publish->productId);
    EXPECT_FALSE(publish->notes);
    EXPECT_FALSE(publish->statedArch);
    EXPECT_TRUE(publish->passedExpiries.empty());
}

TEST(PublishCommandLineTest, ReadsTheOptionsOfAPublish) {
    const auto line = ParsePublishCommandLine({"--database", "postgresql://arg", "--data", "d", "release", "--version",
                                               "1.2", "--id", "7", "--notes", "", "--expires-in", "1", "--expires",
                                               "2001-02-03T04:05:06Z", "--key", "a", "--key", "b"},
                                              "postgresql://env", kNow);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->database, "postgresql://arg");
    EXPECT_EQ(line->databaseArguments, std::vector<size_t>{1});
    EXPECT_EQ(line->productId, 7);
    EXPECT_EQ(line->notes, "");
    EXPECT_EQ(line->keyFiles.size(), 2u);
    // The last expiry given holds; each one already passed is kept to warn of.
    EXPECT_EQ(line->expires, 981173106);
    EXPECT_EQ(line->passedExpiries, Args{"2001-02-03T04:05:06Z"});
}

TEST(PublishCommandLineTest, RefusesWhatNoCommandTakes) {
    const std::vector<Args> refused = {
        {"keygen"},
        {"keygen", "a.key", "b.key"},
        {"--version", "1", "release"},                                      // no --data
        {"--data", "d", "--database", "", "--version", "1", "release"},     // empty address
        {"--data", "d", "--version", "1", "release", "second"},             // two release folders
        {"--data", "d", "--version", "1", "--notes", "n", "--notes-file", "f", "release"},
        {"--data", "d", "release"},                                          // no version
        {"--data", "d", "--version", "1"},                                   // no release folder
        {"--data", "d", "--version", "1", "--id", "1234567890", "release"},
        {"--data", "d", "--version", "1", "--id", "7x", "release"},
        {"--data", "d", "--version", "1", "--arch", "arm64", "release"},
        {"--data", "d", "--version", "1", "--expires-in", "0", "release"},
        {"--data", "d", "--version", "1", "--expires-in", "3661", "release"},
        {"--data", "d", "--version", "1", "--expires", "2030-01-01", "release"},
        {"--data", "d", "--version", "1", "release", "--date"},             // option without its value
        {"--data", "d", "--version", "1", "--unknown", "x", "release"},
        {"--data", "d", "--product", "P", "--ask-update", "maybe"},
        {"--data", "d", "--ask-update", "yes"},                              // no product
        {"--data", "d", "--product", "P", "--ask-update", "yes", "release"},
        {"resign", "--data", "d", "--product", "P"},                         // no key
        {"resign", "--data", "d", "--key", "k"},                             // no product
        {"resign", "--data", "d", "--product", "P", "--key", "k", "release"},
        {"resign", "--data", "d", "--product", "P", "--key", "k", "--ask-update", "no"},
    };
    for (const Args& args : refused) {
        EXPECT_FALSE(ParsePublishCommandLine(args, "", kNow)) << Shown(args);
    }
}

}  // namespace
