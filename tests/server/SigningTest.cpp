// Release keys and signed releases: keygen and the key file, the signature publish writes over the exact
// digest list the server hands out, the SHA-256 element the updater reads beside its walk, the release
// element (product, architecture, version, expiry) and its renewal by resign, and the keys publish refuses.
#include "tests/server/ManifestReading.h"
#include "tests/server/ServerProcess.h"
#include "update/manifest/FilePaths.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include <sys/stat.h>

#include <ctime>
#include <fstream>

using namespace update;

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> FromHex(const std::string& hex) {
    std::vector<uint8_t> bytes(hex.size() / 2);
    size_t length = 0;
    if (sodium_hex2bin(bytes.data(), bytes.size(), hex.data(), hex.size(), nullptr, &length, nullptr) != 0)
        return {};
    bytes.resize(length);
    return bytes;
}

std::string Sha256Hex(const std::string& bytes) {
    uint8_t digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    char hex[2 * sizeof digest + 1];
    return sodium_bin2hex(hex, sizeof hex, digest, sizeof digest);
}

bool Verifies(const std::string& signatureHex, const std::string& bytes, const std::string& publicKeyHex) {
    const auto signature = FromHex(signatureHex);
    const auto key = FromHex(publicKeyHex);
    return signature.size() == crypto_sign_ed25519_BYTES && key.size() == crypto_sign_ed25519_PUBLICKEYBYTES &&
           crypto_sign_ed25519_verify_detached(signature.data(), reinterpret_cast<const unsigned char*>(bytes.data()),
                                               bytes.size(), key.data()) == 0;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

class SigningTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(sodium_init(), 0); }

    // keygen into the scratch folder; gives the printed public key.
    std::string Keygen(const std::string& name) {
        const ToolRun run = RunPublish({"keygen", (keys.Path() / name).string()});
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return Lines(run.output).empty() ? std::string() : Lines(run.output).front();
    }
    ToolRun Publish(const std::string& version, std::vector<std::string> more) {
        release.Write("Nightcap.exe", "Nightcap " + version);
        release.Write("config.ini", "[Product]\r\nname=Nightcap\r\n");
        release.Write("update/Update.exe", "updater " + version);
        release.Write("update/skin/View.xar", std::string(70000, 'v'));
        std::vector<std::string> args = {"--data", (scratch.Path() / "data").string(), "--version", version};
        args.insert(args.end(), more.begin(), more.end());
        args.push_back(release.Path().string());
        return RunPublish(args);
    }
    std::string Key(const std::string& name) const { return (keys.Path() / name).string(); }

    ScratchFolder scratch, keys, release;
};

TEST_F(SigningTest, KeygenWritesAPrivateKeyOnlyItsOwnerMayReadAndNeverReplacesOne) {
    const std::string publicKey = Keygen("release.key");
    EXPECT_EQ(FromHex(publicKey).size(), 32u) << publicKey;
    struct stat status {};
    ASSERT_EQ(::stat(Key("release.key").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    const std::string secret = ReadFileBytes(Key("release.key"));
    EXPECT_EQ(secret.size(), 129u);
    // The key file is the library's secret key: its second half is the public key printed.
    EXPECT_EQ(secret.substr(64, 64), publicKey);

    const ToolRun again = RunPublish({"keygen", Key("release.key")});
    EXPECT_NE(again.exitCode, 0);
    EXPECT_EQ(ReadFileBytes(Key("release.key")), secret);
    const ToolRun shown = RunPublish({"public-key", Key("release.key")});
    EXPECT_EQ(shown.exitCode, 0) << shown.output;
    EXPECT_EQ(Lines(shown.output), std::vector<std::string>({publicKey}));
    EXPECT_NE(Keygen("other.key"), publicKey);

    // Not inside a git work tree.
    fs::create_directories(keys.Path() / "repo" / ".git");
    fs::create_directories(keys.Path() / "repo" / "tools");
    EXPECT_NE(RunPublish({"keygen", Key("repo/tools/release.key")}).exitCode, 0);
    EXPECT_FALSE(fs::exists(keys.Path() / "repo" / "tools" / "release.key"));
}

TEST_F(SigningTest, ASignedReleaseCarriesASignatureOverTheExactDigestListServed) {
    const std::string first = Keygen("first.key"), second = Keygen("second.key");
    const ToolRun run = Publish("1.1", {"--key", Key("first.key"), "--key", Key("second.key")});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ServerProcess server(scratch.Path() / "data");
    const auto xml = server.Get("/update/Nightcap/update_md5.xml");
    const auto sig = server.Get("/update/Nightcap/update_md5.xml.sig");
    ASSERT_TRUE(xml && sig);
    ASSERT_EQ(sig->status, 200);
    const std::vector<std::string> lines = Lines(sig->body);
    ASSERT_EQ(lines.size(), 2u) << sig->body;
    EXPECT_TRUE(Verifies(lines[0], xml->body, first));
    EXPECT_TRUE(Verifies(lines[1], xml->body, second));
    EXPECT_FALSE(Verifies(lines[0], xml->body, second));
    std::string changed = xml->body;
    changed[changed.size() / 2] ^= 1;
    EXPECT_FALSE(Verifies(lines[0], changed, first));

    // Every entry carries the SHA-256 of the file served, right after its folder, and the updater's walk
    // reads the same names, digests and folders it would without it.
    const DigestList walked = DigestListOf(xml->body);
    ASSERT_EQ(walked.fileNames.size(), 3u);
    ASSERT_EQ(walked.fileSha256.size(), 3u);
    for (size_t i = 0; i < walked.fileNames.size(); ++i) {
        const std::string name = Utf8(walked.fileNames[i]);
        const auto body =
            server.Get("/download/" + Utf8(RemotePath(u"Nightcap", walked, walked.fileNames[i])) + "/" + name);
        ASSERT_TRUE(body);
        EXPECT_EQ(Utf8(walked.fileDigests[i]), Md5Hex(body->body)) << name;
        EXPECT_EQ(Utf8(walked.fileSha256[i]), Sha256Hex(body->body)) << name;
    }
    EXPECT_EQ(Utf8(walked.fileNames[0]), "Nightcap.exe");
    EXPECT_EQ(walked.folderPairs, std::vector<std::u16string>({u"Update.exe", u"Update", u"View.xar", u"Update/skin"}));
}

TEST_F(SigningTest, TheListNamesItsReleaseAndResignRenewsOnlyItsExpiry) {
    const std::string first = Keygen("first.key"), second = Keygen("second.key");
    // Updaters with keys compare versions as numbers: a signed release must have one.
    EXPECT_NE(Publish("1.003a", {"--key", Key("first.key")}).exitCode, 0);
    const int64_t before = static_cast<int64_t>(std::time(nullptr));
    ASSERT_EQ(Publish("1.003", {"--key", Key("first.key"), "--expires-in", "10"}).exitCode, 0);
    const int64_t after = static_cast<int64_t>(std::time(nullptr));
    ServerProcess server(scratch.Path() / "data");
    const std::string xml = server.Get("/update/Nightcap/update_md5.xml")->body;
    const DigestList walked = DigestListOf(xml);
    ASSERT_TRUE(walked.release) << xml;
    EXPECT_EQ(walked.release->product, u"Nightcap");
    EXPECT_EQ(walked.release->arch, u"x86");  // the release's files are no programs: taken as 32-bit
    EXPECT_EQ(walked.release->version, u"1.003");
    EXPECT_GE(walked.release->expires, before + 10 * 86400);
    EXPECT_LE(walked.release->expires, after + 10 * 86400);
    EXPECT_EQ(walked.fileNames.size(), 3u);

    const std::string data = (scratch.Path() / "data").string();
    EXPECT_NE(RunPublish({"resign", "--data", data, "--product", "Nightcap"}).exitCode, 0) << "no key";
    EXPECT_NE(RunPublish({"resign", "--data", data, "--product", "Other", "--key", Key("first.key")}).exitCode, 0);
    const ToolRun resign = RunPublish({"resign", "--data", data, "--product", "Nightcap", "--key", Key("second.key"),
                                       "--expires", "2031-05-06T07:08:09Z"});
    ASSERT_EQ(resign.exitCode, 0) << resign.output;
    const std::string renewed = server.Get("/update/Nightcap/update_md5.xml")->body;
    const DigestList rewalked = DigestListOf(renewed);
    ASSERT_TRUE(rewalked.release);
    EXPECT_EQ(rewalked.release->expires, 1935817689);
    EXPECT_EQ(rewalked.release->version, u"1.003");
    EXPECT_EQ(rewalked.fileDigests, walked.fileDigests);
    EXPECT_EQ(rewalked.fileSha256, walked.fileSha256);
    std::string expected = xml;
    const size_t at = expected.find("<expires>") + 9;
    expected.replace(at, 20, "2031-05-06T07:08:09Z");
    EXPECT_EQ(renewed, expected);
    // Only the new signature remains once the new list is in place.
    const std::vector<std::string> lines = Lines(server.Get("/update/Nightcap/update_md5.xml.sig")->body);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(Verifies(lines[0], renewed, second));
}

TEST_F(SigningTest, AnUnsignedReleaseHasNoSignatureFile) {
    ASSERT_EQ(Publish("1.0", {}).exitCode, 0);
    ServerProcess server(scratch.Path() / "data");
    EXPECT_EQ(server.Get("/update/Nightcap/update_md5.xml")->status, 200);
    EXPECT_EQ(server.Get("/update/Nightcap/update_md5.xml.sig")->status, 404);
    EXPECT_EQ(server.Get("/update/Other/update_md5.xml.sig")->status, 404);
}

TEST_F(SigningTest, KeysThatMightLeakOrAreDamagedAreRefusedAndNothingGoesLive) {
    Keygen("good.key");
    const std::string secret = ReadFileBytes(Key("good.key"));
    auto place = [&](const fs::path& path, const std::string& bytes, fs::perms mode) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        fs::permissions(path, mode);
        return path.string();
    };
    const fs::perms owner = fs::perms::owner_read | fs::perms::owner_write;
    std::string damaged = secret;
    damaged[70] = damaged[70] == 'a' ? 'b' : 'a';  // the public half no longer belongs to the seed
    const std::vector<std::pair<std::string, std::string>> keyFiles = {
        {"in the release folder", place(release.Path() / "keys" / "r.key", secret, owner)},
        {"in the data folder", place(scratch.Path() / "data" / "r.key", secret, owner)},
        {"readable by others", place(keys.Path() / "open.key", secret, owner | fs::perms::others_read)},
        {"writable by the group", place(keys.Path() / "group.key", secret, owner | fs::perms::group_write)},
        {"damaged", place(keys.Path() / "damaged.key", damaged, owner)},
        {"cut short", place(keys.Path() / "short.key", secret.substr(0, 100), owner)},
        {"not hexadecimal", place(keys.Path() / "text.key", std::string(128, 'x') + "\n", owner)},
        {"missing", Key("missing.key")},
    };
    for (const auto& [what, path] : keyFiles) {
        const ToolRun run = Publish("2.0", {"--key", Key("good.key"), "--key", path});
        EXPECT_NE(run.exitCode, 0) << what;
        EXPECT_FALSE(run.output.empty()) << what;
    }
    fs::remove_all(release.Path() / "keys");
    ServerProcess server(scratch.Path() / "data");
    EXPECT_EQ(server.Get("/update/Nightcap/update_md5.xml")->status, 404);
}

}  // namespace
