// What a signed digest list names of its release and when the updater takes it: the release element as the
// lists carry it (and the walk over the files passes over it), the expiry's time text, version order, and
// the verdict for another product or architecture, a rollback and an expiry, at a clock given by the test.
#include "update/manifest/DigestList.h"
#include "update/manifest/ReleaseData.h"
#include "update/manifest/ReleaseRules.h"
#include "update/manifest/ReleaseTrust.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using namespace update;

namespace {

using ::testing::ElementsAre;

constexpr int64_t kExpiry = 1799415240;  // 2027-01-08T13:34:00Z

std::string ReleaseElement(const std::string& parts) { return "<release>" + parts + "</release>"; }

const std::string kStamp = "<product>Nightcap</product><arch>x64</arch><version>1.003</version>"
                           "<expires>2027-01-08T13:34:00Z</expires>";

DigestList ListOf(const std::string& xml) {
    XmlDocument document;
    document.LoadBytes(xml.data(), xml.size());
    return ReadDigestList(document);
}

const InstalledRelease kInstalled{u"Nightcap", u"x64", u"1.002"};

TEST(ReleaseTime, OnlyTheOneUtcFormWithRealDates) {
    EXPECT_EQ(ParseUtcTime(u"1970-01-01T00:00:00Z"), 0);
    EXPECT_EQ(ParseUtcTime(u"2027-01-08T13:34:00Z"), kExpiry);
    EXPECT_EQ(ParseUtcTime(u"2028-02-29T23:59:59Z"), 1835481599);
    EXPECT_EQ(ParseUtcTime(u"2100-03-01T00:00:00Z"), 4107542400);
    for (const char16_t* bad : {u"2027-02-29T00:00:00Z", u"2100-02-29T00:00:00Z", u"2027-01-08T24:00:00Z",
                                u"2027-01-08T13:60:00Z", u"2027-13-01T00:00:00Z", u"2027-01-00T00:00:00Z",
                                u"1969-12-31T23:59:59Z", u"2027-01-08t13:34:00Z", u"2027-01-08T13:34:00",
                                u"2027-01-08T13:34:00+08:00", u" 2027-01-08T13:34:00Z", u"2027-1-08T13:34:00Z",
                                u"２027-01-08T13:34:00Z", u""})
        EXPECT_FALSE(ParseUtcTime(bad));
}

TEST(ReleaseVersions, NumbersPartByPart) {
    EXPECT_EQ(CompareVersions(u"1.003", u"1.002"), 1);
    EXPECT_EQ(CompareVersions(u"1.002", u"1.010"), -1);
    EXPECT_EQ(CompareVersions(u"2", u"1.999"), 1);
    EXPECT_EQ(CompareVersions(u"1.002", u"1.2"), 0);
    EXPECT_EQ(CompareVersions(u"1.0.0", u"1"), 0);
    for (const char16_t* bad : {u"", u"1.", u".1", u"1..2", u"1.0a", u"v1", u"1234567890", u"1.2.3.4.5.6.7.8.9"})
        EXPECT_FALSE(CompareVersions(bad, u"1.002"));
}

TEST(ReleaseElement, ReadWhereThePublishToolPutsItWhileTheFileWalkPassesOverIt) {
    const std::string entries = "<name>a.dll</name><md5>0</md5><folder>NULL</folder>"
                                "<name>b.png</name><md5>1</md5><folder>skin</folder>";
    const DigestList list = ListOf("<?xml version=\"1.0\"?>\r\n<files>\r\n  " + ReleaseElement(kStamp) + entries +
                                   "</files>");
    ASSERT_TRUE(list.release);
    EXPECT_EQ(list.release->product, u"Nightcap");
    EXPECT_EQ(list.release->arch, u"x64");
    EXPECT_EQ(list.release->version, u"1.003");
    EXPECT_EQ(list.release->expires, kExpiry);
    EXPECT_THAT(list.fileNames, ElementsAre(u"a.dll", u"b.png"));
    EXPECT_THAT(list.fileDigests, ElementsAre(u"0", u"1"));
    EXPECT_THAT(list.folderPairs, ElementsAre(u"b.png", u"skin"));

    // A list of the releases before, one part missing, or one malformed names no release.
    for (const std::string& release :
         {std::string(), ReleaseElement("<product>Nightcap</product><arch>x64</arch><version>1.003</version>"),
          ReleaseElement("<product></product><arch>x64</arch><version>1.003</version>"
                         "<expires>2027-01-08T13:34:00Z</expires>"),
          ReleaseElement("<product>Nightcap</product><arch>x64</arch><version>1.003 beta</version>"
                         "<expires>2027-01-08T13:34:00Z</expires>"),
          ReleaseElement("<product>Nightcap</product><arch>x64</arch><version>1.003</version>"
                         "<expires>2027-01-08</expires>"),
          "<other>" + ReleaseElement(kStamp) + "</other>"})
        EXPECT_FALSE(ListOf("<files>" + release + entries + "</files>").release) << release;
}

TEST(ReleaseVerdicts, OwnProductAndArchitectureNewerAndUnexpiredOnly) {
    const ReleaseData fresh{u"Nightcap", u"x64", u"1.003", kExpiry};
    EXPECT_EQ(JudgeRelease(fresh, kInstalled, kExpiry - 30 * 86400), ReleaseVerdict::Accepted);
    // The clock one second before the expiry and at it.
    EXPECT_EQ(JudgeRelease(fresh, kInstalled, kExpiry - 1), ReleaseVerdict::Accepted);
    EXPECT_EQ(JudgeRelease(fresh, kInstalled, kExpiry), ReleaseVerdict::Expired);
    EXPECT_EQ(JudgeRelease(fresh, kInstalled, kExpiry + 1), ReleaseVerdict::Expired);

    const int64_t now = kExpiry - 86400;
    ReleaseData release = fresh;
    release.product = u"nightcap";
    EXPECT_EQ(JudgeRelease(release, kInstalled, now), ReleaseVerdict::OtherProduct);
    release = fresh;
    release.arch = u"x86";
    EXPECT_EQ(JudgeRelease(release, kInstalled, now), ReleaseVerdict::OtherArch);
    for (const char16_t* version : {u"1.002", u"1.2", u"1.001", u"0.999"}) {
        release = fresh;
        release.version = version;
        EXPECT_EQ(JudgeRelease(release, kInstalled, now), ReleaseVerdict::NotNewer);
    }
    EXPECT_EQ(JudgeRelease(std::nullopt, kInstalled, now), ReleaseVerdict::Unnamed);
    // An installed version the rules cannot read takes nothing.
    EXPECT_EQ(JudgeRelease(fresh, {u"Nightcap", u"x64", u""}, now), ReleaseVerdict::NotNewer);
}

TEST(ReleaseVerdicts, OnlyABuildWithKeysJudges) {
    const DigestList unnamed = ListOf("<files><name>a</name><md5>0</md5><folder>NULL</folder></files>");
    EXPECT_TRUE(ReleaseTrust().AcceptsRelease(unnamed, kInstalled, kExpiry));
    const ReleaseTrust keyed = ReleaseTrust::FromKeyText(std::string(64, 'a'));
    EXPECT_FALSE(keyed.AcceptsRelease(unnamed, kInstalled, 0));
    const DigestList named = ListOf("<files>" + ReleaseElement(kStamp) + "</files>");
    EXPECT_TRUE(keyed.AcceptsRelease(named, kInstalled, kExpiry - 1));
    EXPECT_FALSE(keyed.AcceptsRelease(named, kInstalled, kExpiry));
    EXPECT_FALSE(ReleaseTrust::FromKeyText("not a key").AcceptsRelease(named, kInstalled, kExpiry - 1));
}

}  // namespace
