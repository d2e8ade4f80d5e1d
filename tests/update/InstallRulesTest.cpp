// The download pass and the tree copy over fakes: progress texts, what is fetched and staged, what a
// failed, cut or corrupt download leaves behind, what the staging folder may hold right before the install,
// and what is copied into the installation.
#include "common/Md5Digest.h"
#include "common/Sha256Digest.h"
#include "update/install/CopyTree.h"
#include "update/install/DownloadWorker.h"
#include "update/install/ProgressText.h"
#include "update/install/StagedRelease.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace update;

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Report = std::pair<std::string, std::string>;

std::string Md5(const std::string& bytes) { return Md5Digest::Hex(bytes.data(), bytes.size(), false); }
std::u16string U16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::string Bytes(size_t size, char seed) {
    std::string bytes;
    for (size_t i = 0; i < size; ++i) bytes.push_back(char(seed + i * 31));
    return bytes;
}

// What the fake server does with one address.
struct Served {
    std::string body;
    size_t sentBytes = std::string::npos;  // the connection breaks after this many bytes
    bool lengthFails = false;
};

class FakeEnvironment : public WorkerEnvironment {
public:
    std::map<std::u16string, std::string> local;    // the installation, by local path
    std::map<std::u16string, std::string> staged;   // closed staging files
    std::map<std::u16string, Served> served;        // by download address
    std::set<std::u16string> unwritable;            // staging paths that cannot be created
    std::vector<Report> reports;
    std::vector<std::u16string> opened;
    int sessions = 0;

    // The download address of a file of the product "P" in the given remote folder.
    static std::u16string Address(const std::string& remote, const std::string& name) {
        return u"http://s/pm/sd_mgr/pts/web/pm_down.php?p_id=1&p_url=http://u/download/" + U16(remote + "/" + name);
    }

    std::unique_ptr<DownloadSession> OpenSession() override {
        ++sessions;
        return std::make_unique<Session>(*this);
    }
    std::u16string ProductName() override { return u"P"; }
    std::u16string StatisticsHost() override { return u"s"; }
    std::u16string UpdateHost() override { return u"u"; }
    bool LocalFileExists(const std::u16string& path) override { return local.count(path) > 0; }
    std::string LocalMd5Hex(const std::u16string& path) override { return Md5(local.at(path)); }
    std::unique_ptr<StagingFile> CreateStagingFile(const std::u16string& path) override {
        if (unwritable.count(path)) return nullptr;
        return std::make_unique<File>(*this, path);
    }
    void RemoveStagingFile(const std::u16string& path) override { staged.erase(path); }
    void Notify(const std::string& first, const std::string& second) override { reports.emplace_back(first, second); }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Report& r : reports) texts.push_back(r.first);
        return texts;
    }

private:
    class Connection : public DownloadConnection {
    public:
        explicit Connection(const Served& served) : served_(served) {}
        bool Length(uint64_t& length) override {
            length = served_.body.size();
            return !served_.lengthFails;
        }
        bool Read(void* buffer, size_t size, size_t& read) override {
            const size_t end = std::min(served_.body.size(), served_.sentBytes);
            if (at_ >= end && end < served_.body.size()) return false;
            read = std::min(size, end - at_);
            served_.body.copy(static_cast<char*>(buffer), read, at_);
            at_ += read;
            return true;
        }

    private:
        const Served& served_;
        size_t at_ = 0;
    };
    class Session : public DownloadSession {
    public:
        explicit Session(FakeEnvironment& environment) : environment_(environment) {}
        std::unique_ptr<DownloadConnection> Open(const std::u16string& address) override {
            environment_.opened.push_back(address);
            auto it = environment_.served.find(address);
            if (it == environment_.served.end()) return nullptr;
            return std::make_unique<Connection>(it->second);
        }

    private:
        FakeEnvironment& environment_;
    };
    class File : public StagingFile {
    public:
        File(FakeEnvironment& environment, std::u16string path) : environment_(environment), path_(std::move(path)) {
            environment_.staged[path_];  // created empty, as a truncated file
        }
        bool Write(const void* bytes, size_t size) override {
            environment_.staged[path_].append(static_cast<const char*>(bytes), size);
            return true;
        }
        bool Close() override { return true; }

    private:
        FakeEnvironment& environment_;
        std::u16string path_;
    };
};

// A list of files in the installation folder (folder NULL), each served with its listed bytes.
struct Listing {
    DigestList list;
    FakeEnvironment environment;

    void Add(const std::string& name, const std::string& bytes, bool upToDate = false, const std::string& folder = "") {
        list.fileNames.push_back(U16(name));
        list.fileDigests.push_back(U16(Md5(bytes)));
        if (!folder.empty()) {
            list.folderPairs.push_back(U16(name));
            list.folderPairs.push_back(U16(folder));
        }
        const std::string local = "..\\" + (folder.empty() ? "" : folder + "\\") + name;
        environment.local[U16(local)] = upToDate ? bytes : "old " + name;
        environment.served[FakeEnvironment::Address(folder.empty() ? "P" : "P/" + folder, name)].body = bytes;
    }
    PassResult Run(ReportedProgress& progress) { return RunDownloadPass(list, environment, progress); }
    PassResult Run() {
        ReportedProgress progress;
        return Run(progress);
    }
};

std::vector<std::string> Numbers(int from, int to) {
    std::vector<std::string> texts;
    for (int i = from; i <= to; ++i) texts.push_back(std::to_string(i));
    return texts;
}

TEST(ProgressText, OverallPercentOfThePass) {
    EXPECT_EQ(OverallPercentText(1, 3, 40, 100), "47");
    EXPECT_EQ(OverallPercentText(0, 3, 0, 100), "0");
    EXPECT_EQ(OverallPercentText(0, 3, 100, 100), "33");
    EXPECT_EQ(OverallPercentText(2, 3, 99, 100), "100");  // rounded up before the last byte
    EXPECT_EQ(OverallPercentText(0, 1, 399, 1000), "39");  // the file's percent is whole first
    EXPECT_EQ(OverallPercentText(0, 2, 5000, 4000), "50");  // never past the file's end
    EXPECT_EQ(OverallPercentText(0, 1, 3'000'000'000ull, 6'000'000'000ull), "50");
}

TEST(DownloadPass, ReportsEachWholePercentOnceAndEndsWith100) {
    Listing listing;
    listing.Add("a.dll", Bytes(51200, 'a'));
    listing.Add("b.dll", Bytes(51200, 'b'));
    listing.Add("c.dll", Bytes(51200, 'c'));
    EXPECT_EQ(listing.Run(), PassResult::Complete);
    std::vector<std::string> expected = Numbers(0, 100);
    EXPECT_EQ(listing.environment.Texts(), expected);
    EXPECT_EQ(listing.environment.reports.back(), Report("100", "1"));
    EXPECT_EQ(listing.environment.staged.at(u"..\\Update\\Temp\\b.dll"), Bytes(51200, 'b'));
    EXPECT_EQ(listing.environment.sessions, 3);
}

TEST(DownloadPass, SecondFileAtFortyPercentSends47) {
    Listing listing;
    listing.Add("a.dll", Bytes(10, 'a'));
    listing.Add("b.dll", Bytes(1280, 'b'));  // 512 of 1,280 bytes is 40 %
    listing.Add("c.dll", Bytes(10, 'c'));
    listing.Run();
    EXPECT_THAT(listing.environment.Texts(), ElementsAre("33", "47", "60", "67", "100"));
}

TEST(DownloadPass, UpToDateFiles) {
    Listing all;
    for (const char* name : {"a.dll", "b.dll", "c.dll"}) all.Add(name, Bytes(600, name[0]), true);
    EXPECT_EQ(all.Run(), PassResult::Complete);
    EXPECT_THAT(all.environment.reports, ElementsAre(Report("100", "0")));
    EXPECT_THAT(all.environment.opened, IsEmpty());
    EXPECT_EQ(all.environment.sessions, 3);  // one session per file all the same

    Listing first;
    first.Add("a.dll", Bytes(60000, 'a'));
    first.Add("b.dll", Bytes(600, 'b'), true);
    first.Add("c.dll", Bytes(600, 'c'), true);
    EXPECT_EQ(first.Run(), PassResult::Complete);
    std::vector<std::string> expected = Numbers(0, 33);
    expected.push_back("100");
    EXPECT_EQ(first.environment.Texts(), expected);
    EXPECT_EQ(first.environment.reports.back(), Report("100", "1"));
    EXPECT_THAT(first.environment.staged, ElementsAre(std::make_pair(u"..\\Update\\Temp\\a.dll", Bytes(60000, 'a'))));

    Listing none;
    EXPECT_EQ(none.Run(), PassResult::NothingListed);
    EXPECT_THAT(none.environment.reports, IsEmpty());
    EXPECT_EQ(none.environment.sessions, 0);
}

TEST(DownloadPass, ZeroLengthFileReportsNothingOfItsOwn) {
    Listing listing;
    listing.Add("a.dll", Bytes(1024, 'a'));
    listing.Add("empty.txt", "");
    listing.Add("c.dll", Bytes(1024, 'c'));
    EXPECT_EQ(listing.Run(), PassResult::Complete);
    EXPECT_THAT(listing.environment.Texts(), ElementsAre("17", "33", "83", "100"));
    EXPECT_EQ(listing.environment.staged.at(u"..\\Update\\Temp\\empty.txt"), "");

    // Staged but never reported: the end still says that something was downloaded.
    Listing alone;
    alone.Add("empty.txt", "");
    alone.Run();
    EXPECT_THAT(alone.environment.reports, ElementsAre(Report("100", "1")));
}

TEST(DownloadPass, TheLastTextOfAnEarlierPassIsNotRepeated) {
    Listing listing;
    listing.Add("a.dll", Bytes(60000, 'a'));  // its first block is 0 %
    ReportedProgress progress{"0", false};
    listing.Run(progress);
    std::vector<std::string> expected = Numbers(1, 100);
    EXPECT_EQ(listing.environment.Texts(), expected);
    EXPECT_EQ(progress.lastText, "100");
    EXPECT_TRUE(progress.downloaded);

    // A later pass of the same process with everything now in place still ends with "100" and "1".
    Listing again;
    again.Add("a.dll", Bytes(60000, 'a'), true);
    again.Run(progress);
    EXPECT_THAT(again.environment.reports, ElementsAre(Report("100", "1")));
}

TEST(DownloadPass, FilesInFoldersAreFetchedAndStagedThere) {
    Listing listing;
    listing.Add("x.dll", Bytes(700, 'x'), false, "f");
    listing.Add("Update.exe", Bytes(700, 'u'), false, "Update");
    EXPECT_EQ(listing.Run(), PassResult::Complete);
    EXPECT_THAT(listing.environment.opened,
                ElementsAre(FakeEnvironment::Address("P/f", "x.dll"), FakeEnvironment::Address("P/Update", "Update.exe")));
    EXPECT_EQ(listing.environment.staged.at(u"..\\Update\\Temp\\f\\x.dll"), Bytes(700, 'x'));
    EXPECT_EQ(listing.environment.staged.at(u"..\\Update\\Temp\\Update\\Update.exe"), Bytes(700, 'u'));
}

// Each way a download can go wrong: the file is not left in the staging folder, the pass goes on with
// the next file, and it ends with "-1" instead of "100" even when the last file was up to date.
TEST(DownloadPass, FailedDownloadsAreRemovedAndFailThePass) {
    const std::vector<std::pair<const char*, void (*)(Listing&)>> faults = {
        {"missing on the server", [](Listing& l) { l.environment.served.erase(FakeEnvironment::Address("P", "b.dll")); }},
        {"cut mid-file", [](Listing& l) { l.environment.served[FakeEnvironment::Address("P", "b.dll")].sentBytes = 2000; }},
        {"wrong digest", [](Listing& l) { l.list.fileDigests[1] = U16(Md5("something else")); }},
        {"length unknown", [](Listing& l) { l.environment.served[FakeEnvironment::Address("P", "b.dll")].lengthFails = true; }},
        {"short answer", [](Listing& l) { l.environment.served[FakeEnvironment::Address("P", "b.dll")].body.resize(3000); }},
        {"staging not writable", [](Listing& l) { l.environment.unwritable.insert(u"..\\Update\\Temp\\b.dll"); }},
    };
    for (const auto& [fault, apply] : faults) {
        SCOPED_TRACE(fault);
        Listing listing;
        listing.Add("a.dll", Bytes(5120, 'a'));
        listing.Add("b.dll", Bytes(5120, 'b'));
        listing.Add("c.dll", Bytes(5120, 'c'));
        listing.Add("d.dll", Bytes(10, 'd'), true);
        apply(listing);
        EXPECT_EQ(listing.Run(), PassResult::Failed);
        EXPECT_EQ(listing.environment.reports.back(), Report("-1", "0"));
        for (const Report& report : listing.environment.reports) EXPECT_NE(report.first, "100");
        EXPECT_EQ(listing.environment.staged.count(u"..\\Update\\Temp\\b.dll"), 0u);
        EXPECT_EQ(listing.environment.staged.at(u"..\\Update\\Temp\\c.dll"), Bytes(5120, 'c'));
    }
}

std::u16string Sha256Of(const std::string& bytes) {
    Sha256Digest digest;
    digest.Update(bytes.data(), bytes.size());
    const std::string hex = digest.FinishHex();
    return std::u16string(hex.begin(), hex.end());
}

TEST(DownloadPass, ABuildWithKeysTakesOnlyFilesMatchingTheirSha256Too) {
    // The trust's key is never used here: the list passed its check before the pass.
    const ReleaseTrust trust({ReleaseKey{}});
    auto listing = [] {
        auto made = std::make_unique<Listing>();
        made->Add("a.dll", Bytes(5120, 'a'));
        made->Add("b.dll", Bytes(5120, 'b'));
        made->Add("c.dll", Bytes(10, 'c'), true);
        made->list.fileSha256 = {Sha256Of(Bytes(5120, 'a')), Sha256Of(Bytes(5120, 'b')), Sha256Of(Bytes(10, 'c'))};
        return made;
    };
    ReportedProgress progress;
    const auto good = listing();
    EXPECT_EQ(RunDownloadPass(good->list, good->environment, progress, trust), PassResult::Complete);
    EXPECT_EQ(good->environment.staged.at(u"..\\Update\\Temp\\b.dll"), Bytes(5120, 'b'));

    // b.dll's MD5 is right but its SHA-256 names other bytes, as for a file an MD5 collision put there.
    const auto forged = listing();
    forged->list.fileSha256[1] = Sha256Of("other bytes");
    ReportedProgress fresh;
    EXPECT_EQ(RunDownloadPass(forged->list, forged->environment, fresh, trust), PassResult::Failed);
    EXPECT_EQ(forged->environment.reports.back(), Report("-1", "0"));
    EXPECT_EQ(forged->environment.staged.count(u"..\\Update\\Temp\\b.dll"), 0u);
    // Without keys the same list is taken on its MD5 digests.
    const auto unsignedBuild = listing();
    unsignedBuild->list.fileSha256[1] = Sha256Of("other bytes");
    ReportedProgress third;
    EXPECT_EQ(RunDownloadPass(unsignedBuild->list, unsignedBuild->environment, third), PassResult::Complete);
}

TEST(DownloadPass, TheLastFileFailingIsReported) {
    Listing listing;
    listing.Add("a.dll", Bytes(5120, 'a'));
    listing.Add("b.dll", Bytes(5120, 'b'));
    listing.environment.served[FakeEnvironment::Address("P", "b.dll")].sentBytes = 4608;
    EXPECT_EQ(listing.Run(), PassResult::Failed);
    EXPECT_EQ(listing.environment.reports.back(), Report("-1", "0"));
    EXPECT_EQ(listing.environment.Texts()[listing.environment.reports.size() - 2], "95");
}

TEST(DownloadPass, ListedDigestsAreComparedAsTheyStand) {
    // An upper-case listed digest never equals the local copy, so the file comes again; what arrives is
    // the listed file all the same.
    Listing listing;
    listing.Add("a.dll", Bytes(600, 'a'), true);
    for (char16_t& c : listing.list.fileDigests[0]) c = c >= u'a' && c <= u'f' ? char16_t(c - 32) : c;
    EXPECT_EQ(listing.Run(), PassResult::Complete);
    EXPECT_EQ(listing.environment.staged.at(u"..\\Update\\Temp\\a.dll"), Bytes(600, 'a'));
}

// An in-memory tree: folders list their entries in insertion order; files hold their bytes.
class FakeTree : public TreeFiles {
public:
    std::map<std::u16string, std::vector<Entry>> folders;
    std::map<std::u16string, std::string> fileBytes;
    std::set<std::u16string> created, failing;
    std::vector<std::pair<std::u16string, std::u16string>> copies;
    std::u16string ownExecutable;

    void CreateFolder(const std::u16string& path) override { created.insert(path); }
    std::vector<Entry> List(const std::u16string& folder) override { return folders[folder]; }
    bool CopyOver(const std::u16string& from, const std::u16string& to) override {
        if (failing.count(to)) return false;
        copies.emplace_back(from, to);
        fileBytes[to] = fileBytes[from];
        return true;
    }
    bool Exists(const std::u16string& path) override { return fileBytes.count(path) > 0; }
    void Remove(const std::u16string& path) override { fileBytes.erase(path); }
    bool IsOwnExecutable(const std::u16string& path) override { return path == ownExecutable; }
};

FakeTree StagedTree() {
    FakeTree tree;
    tree.folders[u"T"] = {{u"Nightcap.exe", false}, {u"Update", true}, {u"skin", true}, {u"zz.txt", false}};
    tree.folders[u"T\\Update"] = {{u"Update.exe", false}, {u"View.xar", false}};
    tree.folders[u"T\\skin"] = {{u"a", true}};
    tree.folders[u"T\\skin\\a"] = {{u"b.png", false}};
    tree.ownExecutable = u"I\\Update\\Update.exe";
    return tree;
}

TEST(CopyTree, CopiesEverythingButTheRunningUpdater) {
    FakeTree tree = StagedTree();
    EXPECT_TRUE(CopyTree(tree, u"T", u"I", u"B"));
    EXPECT_THAT(tree.copies, ElementsAre(std::make_pair(u"T\\Nightcap.exe", u"I\\Nightcap.exe"),
                                         std::make_pair(u"T\\Update\\View.xar", u"I\\Update\\View.xar"),
                                         std::make_pair(u"T\\skin\\a\\b.png", u"I\\skin\\a\\b.png"),
                                         std::make_pair(u"T\\zz.txt", u"I\\zz.txt")));
    EXPECT_EQ(tree.created, (std::set<std::u16string>{u"I", u"I\\Update", u"I\\skin", u"I\\skin\\a"}));
}

// A file that cannot be replaced (locked) part-way: the files replaced before it are put back from their
// backups and the new ones removed, so the installation holds exactly the old release again.
TEST(CopyTree, AnyOtherFailureStopsTheCopyAndPutsTheOldReleaseBack) {
    FakeTree tree = StagedTree();
    const std::map<std::u16string, std::string> old = {{u"I\\Nightcap.exe", "old nightcap"},
                                                       {u"I\\Update\\View.xar", "old view"},
                                                       {u"I\\zz.txt", "old zz"}};
    for (const auto& [path, bytes] : old) tree.fileBytes[path] = bytes;
    for (const char16_t* staged : {u"T\\Nightcap.exe", u"T\\Update\\View.xar", u"T\\skin\\a\\b.png", u"T\\zz.txt"})
        tree.fileBytes[staged] = "new";
    tree.failing.insert(u"I\\zz.txt");
    EXPECT_FALSE(CopyTree(tree, u"T", u"I", u"B"));
    for (const auto& [path, bytes] : old) EXPECT_EQ(tree.fileBytes[path], bytes);
    EXPECT_FALSE(tree.Exists(u"I\\skin\\a\\b.png"));  // new in this release: removed again
    EXPECT_EQ(tree.fileBytes[u"B\\Update\\View.xar"], "old view");

    // A file whose old copy cannot be kept is not replaced either.
    FakeTree unkept = StagedTree();
    unkept.fileBytes = {{u"I\\Nightcap.exe", "old"}, {u"T\\Nightcap.exe", "new"}};
    unkept.failing.insert(u"B\\Nightcap.exe");
    EXPECT_FALSE(CopyTree(unkept, u"T", u"I", u"B"));
    EXPECT_EQ(unkept.fileBytes[u"I\\Nightcap.exe"], "old");

    FakeTree empty;
    EXPECT_TRUE(CopyTree(empty, u"T", u"I", u"B"));
    EXPECT_THAT(empty.copies, IsEmpty());
}

// Right before the install the staging folder holds only listed files with their listed digests; one
// changed since its download, an unlisted one, one in another folder or one that cannot be read refuses
// the install. The updater's own executable is staged in Update as copy.bat expects it.
TEST(StagedRelease, OnlyListedFilesWithTheirDigests) {
    DigestList list;
    list.fileNames = {u"a.dll", u"b.png", u"Update.exe"};
    list.fileDigests = {U16(Md5("a")), U16(Md5("b")), U16(Md5("u"))};
    list.folderPairs = {u"b.png", u"skin", u"Update.exe", u"Update"};
    list.fileSha256 = {Sha256Of("a"), Sha256Of("b"), Sha256Of("u")};
    auto sha256 = [](const std::string& bytes) {
        const std::u16string text = Sha256Of(bytes);
        return std::string(text.begin(), text.end());
    };
    auto staged = [&](const std::string& path, const std::string& bytes) {
        return StagedFile{U16(path), Md5(bytes), sha256(bytes)};
    };
    const ReleaseTrust unsignedBuild, signedBuild({ReleaseKey{}});
    const std::vector<StagedFile> pass = {staged("a.dll", "a"), staged("SKIN\\b.png", "b"), staged("Update\\Update.exe", "u")};
    EXPECT_TRUE(IsStagedRelease(list, pass, signedBuild));
    EXPECT_TRUE(IsStagedRelease(list, {}, signedBuild));  // every file was up to date
    const std::vector<std::vector<StagedFile>> refused = {
        {staged("a.dll", "a changed")},
        {staged("a.dll", "a"), staged("version.dll", "dropped")},
        {staged("skin\\a.dll", "a")},
        {staged("b.png", "b")},
        {StagedFile{u"a.dll", "", ""}},
    };
    for (size_t i = 0; i < refused.size(); ++i) EXPECT_FALSE(IsStagedRelease(list, refused[i], unsignedBuild)) << i;
    // A signed build also wants the SHA-256: the same MD5 with other bytes' SHA-256 is refused.
    const std::vector<StagedFile> collided = {StagedFile{u"a.dll", Md5("a"), sha256("not a")}};
    EXPECT_TRUE(IsStagedRelease(list, collided, unsignedBuild));
    EXPECT_FALSE(IsStagedRelease(list, collided, signedBuild));
}

}  // namespace
