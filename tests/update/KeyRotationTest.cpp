// A key rotation through the real updater and its package, in test installations against the loopback
// server. While installs move over, the updater trusts the tests' key (the old one) and a new one and takes
// a release signed by either; the later updater that trusts the new key only refuses a release the old key
// alone signed, with nothing installed and the product running again, and takes one the new key signed.
#include "common/ReleaseChannel.h"
#include "tests/update/PackageUpdate.h"
#include "tests/update/TestSigning.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

std::optional<KeyPair> KeyFile(const wchar_t* path) {
    std::string text;
    return ReadFileBytes(path, &text) ? KeyPair::FromKeyFile(text) : std::nullopt;
}

TEST(KeyRotation, EitherKeyWhileBothAreTrustedThenOnlyTheNewOne) {
    LoopbackServer server;
    ASSERT_NE(server.Port(), 0) << "no loopback server";
    const std::optional<KeyPair> oldKey = KeyFile(RELEASE_TEST_KEY), newKey = KeyFile(RELEASE_NEW_KEY);
    ASSERT_TRUE(oldKey && newKey) << "the tests' release keys";
    const struct {
        Installation::Updater updater;
        const KeyPair& signer;
        PackageOutcome outcome;
        const char* what;
    } cases[] = {
        {Installation::kRotatingUpdater, *oldKey, PackageOutcome::Done, "both keys trusted, signed with the old"},
        {Installation::kRotatingUpdater, *newKey, PackageOutcome::Done, "both keys trusted, signed with the new"},
        {Installation::kNewKeyUpdater, *oldKey, PackageOutcome::Failed, "the new key trusted, signed with the old"},
        {Installation::kNewKeyUpdater, *newKey, PackageOutcome::Done, "the new key trusted, signed with it"},
    };
    for (const auto& rotation : cases) {
        SCOPED_TRACE(rotation.what);
        Installation install(server, rotation.updater);
        std::vector<ListedFile> files = {{"a.dll", "NULL", "old a", Bytes(5000, 'a')}};
        files[0].sha256 = Sha256Of(files[0].served);
        const std::string list =
            install.List(files, "", ReleaseElement(install.ProductName(), NIGHTCAP_CHANNEL_ARCH, "999.000"));
        ASSERT_TRUE(server.SetReply(install.ManifestPath("update_md5.xml.sig"), "", rotation.signer.SignatureLine(list)));
        ASSERT_NO_FATAL_FAILURE(UpdateThroughPackage(install, rotation.outcome));
        const bool installed = rotation.outcome == PackageOutcome::Done;
        EXPECT_EQ(Md5(FileText(install / L"a.dll")), Md5(installed ? files[0].served : "old a"));
        EXPECT_TRUE(WaitUntil([&] { return ProductWindow(install.Product()) != nullptr; })) << "product not restarted";
    }
}

}  // namespace
