// Release signatures and the trust built on them: the signature file and key texts as outside data, the
// signature over the exact digest-list bytes, the SHA-256 element the digest-list walk passes over, and
// which digest lists and files a build with keys takes. Keys are made afresh by every run.
#include "common/Sha256Digest.h"
#include "update/manifest/DigestList.h"
#include "update/manifest/ReleaseSignature.h"
#include "update/manifest/ReleaseTrust.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sodium/crypto_sign_ed25519.h>

#include <string>
#include <vector>

using namespace update;

namespace {

using ::testing::ElementsAre;

struct KeyPair {
    ReleaseKey publicKey{};
    uint8_t secret[crypto_sign_ed25519_SECRETKEYBYTES] = {};
};

KeyPair NewKeyPair() {
    KeyPair pair;
    crypto_sign_ed25519_keypair(pair.publicKey.data(), pair.secret);
    return pair;
}

std::string Hex(const uint8_t* bytes, size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < size; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
    }
    return hex;
}

std::string KeyHex(const KeyPair& pair) { return Hex(pair.publicKey.data(), pair.publicKey.size()); }

std::string SignatureLine(const std::string& bytes, const KeyPair& pair) {
    uint8_t signature[crypto_sign_ed25519_BYTES];
    crypto_sign_ed25519_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(bytes.data()),
                                 bytes.size(), pair.secret);
    return Hex(signature, sizeof signature) + "\n";
}

std::string Sha256Of(const std::string& bytes) {
    Sha256Digest digest;
    digest.Update(bytes.data(), bytes.size());
    return digest.FinishHex();
}

DigestList ListOf(const std::string& xml) {
    XmlDocument document;
    document.LoadBytes(xml.data(), xml.size());
    return ReadDigestList(document);
}

std::string Entry(const std::string& name, const std::string& folder, const std::string& content) {
    return "<name>" + name + "</name><md5>0123</md5><folder>" + folder + "</folder><sha256>" + Sha256Of(content) +
           "</sha256>\r\n";
}

TEST(Sha256Digest, KnownDigestsWholeAndInPieces) {
    EXPECT_EQ(Sha256Of(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Of("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    Sha256Digest pieces;
    const std::string block(1000, 'a');
    for (int i = 0; i < 1000; ++i) pieces.Update(block.data(), i % 2 ? 1000 : 0);
    for (int i = 0; i < 500; ++i) pieces.Update(block.data(), 1000);
    EXPECT_EQ(pieces.FinishHex(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(SignatureFile, OnlyWholeLinesOfSignatureDigits) {
    const std::string line(128, 'a');
    EXPECT_EQ(ParseSignatureFile(line + "\n")->size(), 1u);
    EXPECT_EQ(ParseSignatureFile(line + "\r\n" + std::string(128, 'F'))->size(), 2u);
    EXPECT_EQ(ParseSignatureFile(line)->size(), 1u);
    std::string eight;
    for (int i = 0; i < 8; ++i) eight += line + "\n";
    EXPECT_EQ(ParseSignatureFile(eight)->size(), 8u);
    for (const std::string& bad : {std::string(), std::string("\n"), eight + line, line.substr(1) + "\n",
                                   line + "0\n", line + " \n", line + "\n\n", "g" + line.substr(1),
                                   line + "\r", line + "\n" + line.substr(0, 64), std::string(1, '\0') + line})
        EXPECT_FALSE(ParseSignatureFile(bad)) << bad.size();
    // A zero byte inside a line is not a digit.
    std::string zero = line;
    zero[10] = '\0';
    EXPECT_FALSE(ParseSignatureFile(zero));
}

TEST(ReleaseKeys, ListsOfKeysAndNothingElse) {
    const std::string a(64, 'a'), b(64, 'B');
    EXPECT_TRUE(ParseReleaseKeys("")->empty());
    EXPECT_TRUE(ParseReleaseKeys(" ;,")->empty());
    EXPECT_EQ(ParseReleaseKeys(a)->size(), 1u);
    const auto two = ParseReleaseKeys(a + "," + b + "\n");
    ASSERT_TRUE(two);
    ASSERT_EQ(two->size(), 2u);
    EXPECT_EQ((*two)[1][0], 0xBB);
    for (const std::string& bad : {a.substr(1), a + "0", a + ";x", a + b, std::string("key")})
        EXPECT_FALSE(ParseReleaseKeys(bad)) << bad;
}

TEST(ReleaseSignatures, OnlyTheKeysOwnSignatureOverTheExactBytes) {
    const KeyPair maker = NewKeyPair(), other = NewKeyPair();
    const std::string list = "<files>" + Entry("a.dll", "NULL", "a") + "</files>\r\n";
    const auto signatures = ParseSignatureFile(SignatureLine(list, maker));
    ASSERT_TRUE(signatures);
    EXPECT_TRUE(IsSignedByAny(list, *signatures, {maker.publicKey}));
    EXPECT_TRUE(IsSignedByAny(list, *signatures, {other.publicKey, maker.publicKey}));
    EXPECT_FALSE(IsSignedByAny(list, *signatures, {other.publicKey}));
    EXPECT_FALSE(IsSignedByAny(list, *signatures, {}));
    EXPECT_FALSE(IsSignedByAny(list + " ", *signatures, {maker.publicKey}));
    EXPECT_FALSE(IsSignedByAny(list.substr(1), *signatures, {maker.publicKey}));
    for (size_t at : {size_t(0), list.size() / 2, list.size() - 1}) {
        std::string changed = list;
        changed[at] ^= 0x20;
        EXPECT_FALSE(IsSignedByAny(changed, *signatures, {maker.publicKey})) << at;
    }
    // Several lines: any one made by a trusted key will do.
    const auto both = ParseSignatureFile(SignatureLine(list, other) + SignatureLine(list, maker));
    ASSERT_TRUE(both);
    EXPECT_TRUE(IsSignedByAny(list, *both, {maker.publicKey}));
}

TEST(DigestListSha256, TheWalkPassesOverItAndEachEntryKeepsItsOwn) {
    const std::string withSha = "<files>" + Entry("a.dll", "NULL", "a") + Entry("b.png", "skin", "b") +
                                "<name>c.txt</name><md5>0123</md5><folder>NULL</folder>" +
                                Entry("d.txt", "NULL", "d") + "</files>";
    const DigestList list = ListOf(withSha);
    EXPECT_THAT(list.fileNames, ElementsAre(u"a.dll", u"b.png", u"c.txt", u"d.txt"));
    EXPECT_THAT(list.fileDigests, ElementsAre(u"0123", u"0123", u"0123", u"0123"));
    EXPECT_THAT(list.folderPairs, ElementsAre(u"b.png", u"skin"));
    ASSERT_EQ(list.fileSha256.size(), 4u);
    EXPECT_EQ(list.fileSha256[0].size(), 64u);
    EXPECT_EQ(std::string(list.fileSha256[1].begin(), list.fileSha256[1].end()), Sha256Of("b"));
    // c.txt has none of its own: d.txt's is not taken for it.
    EXPECT_EQ(list.fileSha256[2], u"");
    EXPECT_EQ(std::string(list.fileSha256[3].begin(), list.fileSha256[3].end()), Sha256Of("d"));

    // A refused entry takes its sha256 with it; an entry without md5 and folder still walks as before.
    const DigestList refused = ListOf("<files>" + Entry("..", "NULL", "x") + Entry("e.txt", "NULL", "e") +
                                      "<name>f.txt</name><sha256>" + Sha256Of("f") + "</sha256></files>");
    EXPECT_THAT(refused.fileNames, ElementsAre(u"e.txt", u"f.txt"));
    ASSERT_EQ(refused.fileSha256.size(), 2u);
    EXPECT_EQ(std::string(refused.fileSha256[0].begin(), refused.fileSha256[0].end()), Sha256Of("e"));
    EXPECT_THAT(refused.fileDigests, ElementsAre(u"0123", u"f.txt"));
}

class SignedRelease : public ::testing::Test {
protected:
    const KeyPair maker = NewKeyPair(), other = NewKeyPair();
    const std::string xml = "<?xml version=\"1.0\"?>\r\n<files>\r\n" + Entry("a.dll", "NULL", "new a") +
                            Entry("View.xar", "Update", "new view") + "</files>\r\n";
    const DigestList list = ListOf(xml);
    const ReleaseTrust trust = ReleaseTrust::FromKeyText(KeyHex(other) + ";" + KeyHex(maker));
};

TEST_F(SignedRelease, ABuildWithKeysTakesOnlyTheDigestListOneOfThemSigned) {
    ASSERT_TRUE(trust.RequiresSignature());
    EXPECT_TRUE(trust.AcceptsDigestList(xml, SignatureLine(xml, maker), list));
    EXPECT_TRUE(trust.AcceptsDigestList(xml, SignatureLine(xml, other), list));
    EXPECT_FALSE(trust.AcceptsDigestList(xml, std::nullopt, list));
    EXPECT_FALSE(trust.AcceptsDigestList(xml, std::string(), list));
    EXPECT_FALSE(trust.AcceptsDigestList(xml, SignatureLine(xml, NewKeyPair()), list));
    // Key rotation: while both keys are trusted either signs; the later updater that trusts only the new
    // key (maker) refuses what the old one (other) signed alone, and takes a file signed by both.
    const ReleaseTrust newKeyOnly = ReleaseTrust::FromKeyText(KeyHex(maker));
    EXPECT_FALSE(newKeyOnly.AcceptsDigestList(xml, SignatureLine(xml, other), list));
    EXPECT_TRUE(newKeyOnly.AcceptsDigestList(xml, SignatureLine(xml, other) + SignatureLine(xml, maker), list));
    std::string changed = xml;
    changed[xml.find("View.xar")] = 'v';
    EXPECT_FALSE(trust.AcceptsDigestList(changed, SignatureLine(xml, maker), ListOf(changed)));
    // Signed, but an entry lacks its SHA-256 or gives one that is no digest: the files could not be checked.
    for (const std::string& entries :
         {std::string("<name>a.dll</name><md5>0</md5><folder>NULL</folder>"),
          std::string("<name>a.dll</name><md5>0</md5><folder>NULL</folder><sha256>") + std::string(63, 'a') +
              "</sha256>",
          std::string("<name>a.dll</name><md5>0</md5><folder>NULL</folder><sha256> ") + std::string(64, 'a') +
              "</sha256>"}) {
        const std::string unchecked = "<files>" + entries + "</files>";
        EXPECT_FALSE(trust.AcceptsDigestList(unchecked, SignatureLine(unchecked, maker), ListOf(unchecked)))
            << entries;
    }
}

TEST_F(SignedRelease, AFileMustMatchItsListedSha256) {
    EXPECT_TRUE(trust.AcceptsFile(list, 0, Sha256Of("new a")));
    EXPECT_TRUE(trust.AcceptsFile(list, 1, Sha256Of("new view")));
    EXPECT_FALSE(trust.AcceptsFile(list, 0, Sha256Of("new view")));
    EXPECT_FALSE(trust.AcceptsFile(list, 0, ""));
    EXPECT_FALSE(trust.AcceptsFile(list, 2, Sha256Of("new a")));
    // The listed digest may be written in upper case.
    DigestList upper = list;
    for (char16_t& c : upper.fileSha256[0]) c = (c >= u'a' && c <= u'f') ? char16_t(c - 32) : c;
    EXPECT_TRUE(trust.AcceptsFile(upper, 0, Sha256Of("new a")));
}

TEST_F(SignedRelease, ABuildWithoutKeysChecksNothingAndUnreadableKeysRefuseEverything) {
    const ReleaseTrust unsigned_;
    EXPECT_FALSE(unsigned_.RequiresSignature());
    EXPECT_FALSE(ReleaseTrust::FromKeyText("").RequiresSignature());
    EXPECT_TRUE(unsigned_.AcceptsDigestList(xml, std::nullopt, list));
    EXPECT_TRUE(unsigned_.AcceptsFile(list, 0, ""));
    EXPECT_TRUE(unsigned_.AcceptsFile(list, 7, ""));

    const ReleaseTrust broken = ReleaseTrust::FromKeyText(KeyHex(maker) + ";not a key");
    EXPECT_TRUE(broken.RequiresSignature());
    EXPECT_FALSE(broken.AcceptsDigestList(xml, SignatureLine(xml, maker), list));
    EXPECT_FALSE(broken.AcceptsFile(list, 0, Sha256Of("new a")));
    // This test binary is built without keys, as the default build is.
    EXPECT_FALSE(ReleaseTrust::Built().RequiresSignature());
}

}  // namespace
