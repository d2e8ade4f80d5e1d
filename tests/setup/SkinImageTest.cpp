// Pictures from the skin pack decoded into images: a picture that does not decode leaves the image
// empty and GDI+ usable for the next one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "setup/skin/SkinImage.h"

using namespace setup;

namespace {

// A 2 x 2 PNG, every pixel red 0x10, green 0x20, blue 0x30, alpha 0x80.
const uint8_t kDotPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72, 0xb6, 0x0d, 0x24, 0x00, 0x00, 0x00, 0x11, 0x49,
    0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0x10, 0x50, 0x30, 0x68, 0x00, 0x61, 0x06, 0x18, 0x03, 0x00, 0x1c, 0xd2, 0x03,
    0x81, 0x56, 0x2f, 0xef, 0x09, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

void AddU16(std::string& out, uint16_t v) { out.append(reinterpret_cast<const char*>(&v), 2); }
void AddU32(std::string& out, uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); }
void AddFile(std::string& out, const std::string& name, const std::string& data) {
    AddU16(out, static_cast<uint16_t>(name.size()));
    out += name;
    AddU32(out, static_cast<uint32_t>(data.size()));
    out += data;
}

TEST(SkinImage, UndecodablePictureLeavesTheImageEmptyAndTheNextOneStillDecodes) {
    std::string pack;
    AddU32(pack, 0);
    AddU32(pack, 2);
    AddFile(pack, "bad.png", std::string(kDotPng, kDotPng + 20) + "not the rest of a picture");
    AddFile(pack, "dot.png", std::string(kDotPng, kDotPng + sizeof kDotPng));
    SetSkinPack(reinterpret_cast<const uint8_t*>(pack.data()), pack.size());

    SkinImage image;
    EXPECT_FALSE(LoadSkinImage(L"missing.png", image));
    EXPECT_FALSE(LoadSkinImage(L"bad.png", image));
    EXPECT_TRUE(image.Empty());

    for (int round = 0; round < 2; ++round) {  // GDI+ is started again after the last image let it go
        ASSERT_TRUE(LoadSkinImage(L"DOT.PNG", image)) << round;
        EXPECT_EQ(image.Width(), 2);
        EXPECT_EQ(image.Height(), 2);
        EXPECT_EQ(image.BitsPerPixel(), 32);
        EXPECT_TRUE(image.HasAlpha());
        const uint8_t bgra[4] = {0x30, 0x20, 0x10, 0x80};
        EXPECT_EQ(std::memcmp(image.Bits(), bgra, 4), 0);
        image.Reset();
    }
    SetSkinPack(nullptr, 0);
}

}  // namespace
