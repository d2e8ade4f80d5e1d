// The digest list as a build with keys prepares it, in a test installation under Wine against the loopback
// server: a correctly signed list is taken and its folders staged; a list changed by one byte, a signature
// from another key, a missing signature, or a stale pair left by an earlier run are refused with nothing
// staged. Keys are made afresh by every run.
#include "common/ReleaseChannel.h"
#include "tests/support/TempFolder.h"
#include "tests/update/TestSigning.h"
#include "tools/test-http-server/LoopbackServer.h"
#include "update/manifest/ManifestDownloads.h"
#include "update/manifest/ReleaseTrust.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

using namespace update;

namespace {

using ::testing::ElementsAre;

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// An installation whose update folder is the working directory while the test runs.
class SignedDigestList : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(server.Port(), 0) << "no loopback server";
        product = "Signed" + std::to_string(::GetCurrentProcessId());
        ASSERT_TRUE(WriteFileBytes(root / L"config.ini", "[Product]\r\nname=" + product + "\r\n"));
        channel = product + NIGHTCAP_CHANNEL_NAME_SUFFIX;  // the name the updater asks the server for
        list = List();
        ASSERT_TRUE(::CreateDirectoryW((root / L"update").c_str(), nullptr));
        wchar_t previous[MAX_PATH] = L"";
        ::GetCurrentDirectoryW(MAX_PATH, previous);
        previous_ = previous;
        ASSERT_TRUE(::SetCurrentDirectoryW((root / L"update").c_str()));
        // The host setting is read through the C library's copy of the environment.
        const std::string host = "127.0.0.1:" + std::to_string(server.Port());
        ASSERT_EQ(_putenv_s("NIGHTCAP_UPDATE_HOST", host.c_str()), 0);
    }
    void TearDown() override { ::SetCurrentDirectoryW(previous_.c_str()); }

    void Serve(const std::string& list, const std::string* signature) {
        ASSERT_TRUE(server.SetReply("/update/" + channel + "/update_md5.xml", "Content-Type: text/xml\r\n", list));
        if (signature) {
            ASSERT_TRUE(server.SetReply("/update/" + channel + "/update_md5.xml.sig", "", *signature));
        } else {
            ASSERT_TRUE(server.SetReply("/update/" + channel + "/update_md5.xml.sig", "", "not found", 404));
        }
    }
    bool Staged(const wchar_t* folder) const { return IsFolder(root / (std::wstring(L"update\\Temp\\") + folder)); }

    LoopbackServer server;
    TempFolder root;
    std::string product, channel;
    const KeyPair maker, other;
    const ReleaseTrust trust{std::vector<ReleaseKey>{maker.publicKey}};
    // Set up once the product is named.
    std::string list;
    std::string List() const {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<files>\r\n" +
               ReleaseElement(product, NIGHTCAP_CHANNEL_ARCH, "1.003") + "  <name>a.dll</name><md5>0</md5><folder>NULL</folder><sha256>" + Sha256Of("a") +
               "</sha256>\r\n  <name>b.png</name><md5>1</md5><folder>skin</folder><sha256>" +
               Sha256Of("b") + "</sha256>\r\n</files>\r\n";
    }

private:
    std::wstring previous_;
};

TEST_F(SignedDigestList, ACorrectlySignedListIsTakenAndStaged) {
    const std::string signature = maker.SignatureLine(list);
    Serve(list, &signature);
    const std::optional<DigestList> taken = PrepareTrustedDigestList(trust, u"1.002");
    ASSERT_TRUE(taken);
    EXPECT_THAT(taken->fileNames, ElementsAre(u"a.dll", u"b.png"));
    EXPECT_TRUE(Staged(L"skin"));
    // A build without keys never asks for the signature.
    const size_t asked = server.Requests("/update/" + channel + "/update_md5.xml.sig").size();
    EXPECT_EQ(asked, 1u);
    ASSERT_TRUE(PrepareTrustedDigestList(ReleaseTrust(), u"1.002"));
    EXPECT_EQ(server.Requests("/update/" + channel + "/update_md5.xml.sig").size(), asked);
}

TEST_F(SignedDigestList, RefusedListsStageNothing) {
    std::string changed = list;
    changed[changed.find("skin")] = 'S';
    const std::string good = maker.SignatureLine(list), foreign = other.SignatureLine(list);
    const struct {
        const char* what;
        std::string served;
        const std::string* signature;
    } cases[] = {{"one byte changed", changed, &good}, {"another key's signature", list, &foreign},
                 {"no signature", list, nullptr}};
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.what);
        Serve(refused.served, refused.signature);
        EXPECT_FALSE(PrepareTrustedDigestList(trust, u"1.002"));
        EXPECT_FALSE(Staged(L"skin"));
    }
}

TEST_F(SignedDigestList, AStalePairFromAnEarlierRunDoesNotStandInForAFailedDownload) {
    const std::string signature = maker.SignatureLine(list);
    Serve(list, &signature);
    ASSERT_TRUE(PrepareTrustedDigestList(trust, u"1.002"));
    // The server stops answering: the signed copies of the earlier run are not read again.
    ASSERT_TRUE(server.SetReply("/update/" + channel + "/update_md5.xml", "", "gone", 404));
    ASSERT_TRUE(server.SetReply("/update/" + channel + "/update_md5.xml.sig", "", "gone", 404));
    EXPECT_FALSE(PrepareTrustedDigestList(trust, u"1.002"));
}

}  // namespace
