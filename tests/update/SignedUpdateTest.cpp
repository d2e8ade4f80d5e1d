// The real updater built with the tests' release key, in a test installation under Wine against the
// loopback server, driven by the package's buttons. A newer release of the installation's product and
// architecture, signed with that key and not expired, installs. A digest list changed by one byte after
// signing (in a folder or in its version), a signature by another key, no signature, a file that matches its
// MD5 but not its SHA-256, a release older than the updater or of its own version (a rollback), another
// product's, the other architecture's and an expired one are each refused: the package shows the failure,
// every installed file stays as it was and the product runs again after "关闭".
#include "common/ReleaseChannel.h"
#include "ProductVersion.h"
#include "tests/update/PackageUpdate.h"
#include "tests/update/TestSigning.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {

const std::string kNewUpdater = "new updater " + Bytes(2000, 'u');
// Newer than the updater's own version (the build's), whatever it is configured to.
const std::string kNewer = "999.000";
const std::string kOtherArch = std::string(NIGHTCAP_CHANNEL_ARCH) == "x64" ? "x86" : "x64";

class SignedUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(server_.Port(), 0) << "no loopback server";
        std::string keyFile;
        ASSERT_TRUE(ReadFileBytes(RELEASE_TEST_KEY, &keyFile)) << "the tests' release key";
        ASSERT_TRUE((maker_ = KeyPair::FromKeyFile(keyFile))) << "the tests' release key";
    }

    // Two changed files (one in a folder), one up to date and the updater's new executable, each entry with
    // the SHA-256 of the file served.
    static std::vector<ListedFile> Release() {
        std::vector<ListedFile> files = {{"a.dll", "NULL", "old a", Bytes(20000, 'a')},
                                         {"b.png", "skin", "old b", Bytes(1500, 'b')},
                                         {"same.txt", "NULL", "same", "same"},
                                         {"Update.exe", "Update", "", kNewUpdater}};
        for (ListedFile& file : files) file.sha256 = Sha256Of(file.served);
        return files;
    }

    // The release element of a newer release of the installation's product for this architecture.
    static std::string Fresh(const Installation& install) {
        return ReleaseElement(install.ProductName(), NIGHTCAP_CHANNEL_ARCH, kNewer);
    }

    void ServeSignature(const Installation& install, const std::optional<std::string>& signature) {
        ASSERT_TRUE(signature ? server_.SetReply(install.ManifestPath("update_md5.xml.sig"), "", *signature)
                              : server_.SetReply(install.ManifestPath("update_md5.xml.sig"), "", "not found", 404));
    }

    // Every file of the installation but the updater's own downloads, with its bytes.
    static std::map<std::wstring, std::string> Installed(const Installation& install) {
        std::map<std::wstring, std::string> files;
        for (const wchar_t* name : {L"config.ini", L"a.dll", L"skin\\b.png", L"same.txt", L"update\\Update.exe",
                                         L"update\\XLUE.dll", L"update\\View.xar", L"update\\copy.bat"})
            files[name] = FileText(install / name);
        files[L"product"] = FileText(install / (install.Product() + L".exe"));
        return files;
    }

    LoopbackServer server_;
    std::optional<KeyPair> maker_;
};

TEST_F(SignedUpdate, AReleaseSignedWithTheBuiltInKeyInstalls) {
    Installation install(server_, Installation::kSignedUpdater);
    const std::vector<ListedFile> files = Release();
    ServeSignature(install, maker_->SignatureLine(install.List(files, "", Fresh(install))));
    UpdateThroughPackage(install, PackageOutcome::Done);
    EXPECT_FALSE(server_.Requests(install.ManifestPath("update_md5.xml.sig")).empty());
    for (const ListedFile& file : {files[0], files[1], files[2]}) {
        const std::wstring local = file.folder == "NULL" ? Wide(file.name) : Wide(file.folder + "\\" + file.name);
        EXPECT_EQ(Md5(FileText(install / local)), Md5(file.served)) << file.name;
    }
    EXPECT_TRUE(WaitUntil([&] { return FileText(install.Update() + L"\\Update.exe") == kNewUpdater; }, 15000))
        << "Update.exe was not replaced";
    EXPECT_TRUE(WaitUntil([&] { return ProductWindow(install.Product()) != nullptr; })) << "product not restarted";
}

TEST_F(SignedUpdate, RefusedReleasesInstallNothingAndTheProductRunsAgain) {
    enum Fault { kByteChanged, kVersionChanged, kOtherKey, kNoSignature, kOtherFilesSha256, kRelease };
    const struct {
        Fault fault;
        const char* what;
        std::string release = {};  // kRelease: the release element, with %P for the product
    } cases[] = {{kByteChanged, "digest list changed by one byte after signing"},
                 {kVersionChanged, "an older release's version raised after signing"},
                 {kOtherKey, "signed by another key"},
                 {kNoSignature, "no signature"},
                 {kOtherFilesSha256, "a.dll listed with the SHA-256 of b.png"},
                 {kRelease, "a rollback to an older release", ReleaseElement("%P", NIGHTCAP_CHANNEL_ARCH, "0.001")},
                 {kRelease, "the updater's own version", ReleaseElement("%P", NIGHTCAP_CHANNEL_ARCH, NIGHTCAP_VERSION_TEXT)},
                 {kRelease, "another product's release", ReleaseElement("%POther", NIGHTCAP_CHANNEL_ARCH, kNewer)},
                 {kRelease, "the other architecture's release", ReleaseElement("%P", kOtherArch, kNewer)},
                 {kRelease, "an expired release",
                  ReleaseElement("%P", NIGHTCAP_CHANNEL_ARCH, kNewer, "2001-01-01T00:00:00Z")},
                 {kRelease, "a release naming nothing", ""}};
    const KeyPair other;
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.what);
        Installation install(server_, Installation::kSignedUpdater);
        std::vector<ListedFile> files = Release();
        if (refused.fault == kOtherFilesSha256) files[0].sha256 = files[1].sha256;
        std::string release = Fresh(install);
        if (refused.fault == kRelease) {
            release = refused.release;
            if (release.find("%P") != std::string::npos) release.replace(release.find("%P"), 2, install.ProductName());
        } else if (refused.fault == kVersionChanged) {
            release = ReleaseElement(install.ProductName(), NIGHTCAP_CHANNEL_ARCH, "0.001");
        }
        const std::string list = install.List(files, "", release);
        const std::map<std::wstring, std::string> before = Installed(install);
        switch (refused.fault) {
        case kByteChanged:
        case kVersionChanged: {
            std::string changed = list;
            if (refused.fault == kByteChanged) changed[changed.find("<folder>skin") + 8] = 'S';
            else changed.replace(changed.find("0.001"), 5, kNewer);
            ASSERT_TRUE(server_.SetReply(install.ManifestPath("update_md5.xml"), "Content-Type: text/xml\r\n", changed));
            ServeSignature(install, maker_->SignatureLine(list));
            break;
        }
        case kOtherKey: ServeSignature(install, other.SignatureLine(list)); break;
        case kNoSignature: ServeSignature(install, std::nullopt); break;
        case kOtherFilesSha256:
        case kRelease: ServeSignature(install, maker_->SignatureLine(list)); break;
        }
        ASSERT_NO_FATAL_FAILURE(UpdateThroughPackage(install, PackageOutcome::Failed));
        // A list refused as a whole downloads nothing; a refused file is downloaded but never installed.
        if (refused.fault != kOtherFilesSha256) {
            EXPECT_TRUE(install.Downloads().empty());
        }
        EXPECT_TRUE(WaitUntil([&] { return ProductWindow(install.Product()) != nullptr; })) << "product not restarted";
        const std::map<std::wstring, std::string> after = Installed(install);
        for (const auto& [name, bytes] : before)
            EXPECT_TRUE(after.at(name) == bytes) << "changed: " << std::string(name.begin(), name.end());
    }
}

}  // namespace
