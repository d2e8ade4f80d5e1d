// The skin pack lookup over hand-built packs, and the arithmetic of slices, alpha and DPI.
#include <gtest/gtest.h>

#include <string>

#include "setup/skin/SkinGeometry.h"
#include "setup/skin/SkinPack.h"

using namespace setup;

namespace {

// Builds packs in the stored layout.
struct PackWriter {
    std::string bytes;
    void U16(uint32_t v) { bytes += std::string{char(v & 0xFF), char(v >> 8 & 0xFF)}; }
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes += char(v >> (8 * i) & 0xFF);
    }
    void Record(const std::string& name, const std::string& body) {
        U16(static_cast<uint32_t>(name.size()));
        bytes += name;
        U32(static_cast<uint32_t>(body.size()));
        bytes += body;
    }
};

std::string Folder(const std::vector<std::pair<std::string, std::string>>& subfolders,
                   const std::vector<std::pair<std::string, std::string>>& files) {
    PackWriter w;
    w.U32(static_cast<uint32_t>(subfolders.size()));
    for (auto& [name, content] : subfolders) w.Record(name, content);
    w.U32(static_cast<uint32_t>(files.size()));
    for (auto& [name, data] : files) w.Record(name, data);
    return w.bytes;
}

std::string Find(const std::string& pack, const std::string& path) {
    auto entry = FindSkinEntry(reinterpret_cast<const uint8_t*>(pack.data()), pack.size(), path);
    return entry ? std::string(reinterpret_cast<const char*>(entry->data), entry->size) : "<none>";
}

const std::string kClose = "\xB9\xD8\xB1\xD5";  // 关闭 in code page 936

TEST(FindSkinEntry, NamesCompareWithoutCaseOfAsciiLettersAndWholeLength) {
    std::string pack = Folder({}, {{kClose + ".png", "close"}, {"a.png", "A"}});
    EXPECT_EQ(Find(pack, kClose + ".PNG"), "close");
    EXPECT_EQ(Find(pack, kClose), "<none>");
    EXPECT_EQ(Find(pack, "A.PNG"), "A");
    EXPECT_EQ(Find(pack, "a.pn"), "<none>");
}

TEST(FindSkinEntry, DescendsIntoNestedFoldersAndSkipsSubfoldersOfTheFinalOne) {
    std::string inner = Folder({}, {{"b.png", "deep"}});
    std::string middle = Folder({{"Inner", inner}}, {{"b.png", "middle"}});
    std::string pack = Folder({{"skip", Folder({}, {{"b.png", "wrong"}})}, {"Mid", middle}}, {{"b.png", "top"}});
    EXPECT_EQ(Find(pack, "b.png"), "top");
    EXPECT_EQ(Find(pack, "mid\\b.png"), "middle");
    EXPECT_EQ(Find(pack, "MID\\inner\\B.png"), "deep");
    EXPECT_EQ(Find(pack, "nowhere\\b.png"), "<none>");
    EXPECT_EQ(Find(pack, "mid\\inner\\c.png"), "<none>");
}

TEST(FindSkinEntry, DamagedPacksFindNothingAndNeverReadPastTheEnd) {
    std::string middle = Folder({}, {{"b.png", "middle"}});
    std::string pack = Folder({{"Mid", middle}}, {{"b.png", "top"}});
    size_t subfolderEnd = 4 + 2 + 3 + 4 + middle.size();
    for (size_t cut = 0; cut < pack.size(); ++cut) {
        std::string shortPack = pack.substr(0, cut);
        EXPECT_EQ(Find(shortPack, "b.png"), "<none>") << cut;
        // A lookup that descends stops reading the outer folder there.
        EXPECT_EQ(Find(shortPack, "mid\\b.png"), cut < subfolderEnd ? "<none>" : "middle") << cut;
    }
    PackWriter huge;
    huge.U32(0);
    huge.U32(1);
    huge.U16(5);
    huge.bytes += "b.png";
    huge.U32(0xFFFFFFF0u);  // data length far beyond the pack
    EXPECT_EQ(Find(huge.bytes, "b.png"), "<none>");
    EXPECT_FALSE(FindSkinEntry(nullptr, 0, "b.png"));
}

TEST(Slices, StripsAreCutIntoAtMostFourWholeSlices) {
    EXPECT_EQ(SliceCount(584, 146), 4);
    EXPECT_EQ(SliceCount(114, 38), 3);
    EXPECT_EQ(SliceCount(231, 77), 3);
    EXPECT_EQ(SliceCount(145, 146), 0);
    EXPECT_EQ(SliceCount(1000, 146), 4);  // extra columns ignored
    EXPECT_EQ(SliceCount(100, 0), 0);
}

TEST(Slices, MissingSlicesBorrowTheirLooks) {
    ButtonLooks four = LooksForSlices(4);
    EXPECT_EQ(four.disabled, 3);
    EXPECT_EQ(four.pressed, 2);
    ButtonLooks three = LooksForSlices(3);
    EXPECT_EQ(three.disabled, three.normal);
    EXPECT_EQ(three.pressed, 2);
    ButtonLooks two = LooksForSlices(2);
    EXPECT_EQ(two.pressed, two.hover);
}

TEST(Slices, PremultipliesColourByAlphaAndKeepsAlpha) {
    uint8_t pixels[] = {255, 128, 10, 255, /**/ 255, 128, 10, 128, /**/ 200, 200, 200, 0};
    Premultiply(pixels, 3);
    const uint8_t expected[] = {255, 128, 10, 255, /**/ 128, 64, 5, 128, /**/ 0, 0, 0, 0};
    for (size_t i = 0; i < sizeof pixels; ++i) EXPECT_EQ(pixels[i], expected[i]) << i;
}

TEST(Dpi, BackgroundsGrowWithTheScreenDpiButTheCloseButtonKeepsItsSize) {
    EXPECT_EQ(ScaleForDpi(640, 96), 640);
    EXPECT_EQ(ScaleForDpi(384, 96), 384);
    EXPECT_EQ(ScaleForDpi(640, 120), 800);
    EXPECT_EQ(ScaleForDpi(384, 120), 480);
    EXPECT_EQ(ScaleForDpi(640, 144), 960);
    EXPECT_EQ(ScaleForDpi(384, 144), 576);
    EXPECT_EQ(ScaleForDpi(640, 120) - 39, 761);  // where the close button goes at 120 DPI
}

}  // namespace
