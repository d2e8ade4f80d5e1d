#include "setup/skin/SkinPack.h"

namespace setup {

namespace {

// A bounded reader over the pack.
class Cursor {
public:
    Cursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool ReadU16(uint32_t* v) { return ReadLittle(2, v); }
    bool ReadU32(uint32_t* v) { return ReadLittle(4, v); }
    bool Take(size_t n, const uint8_t** out) {
        if (n > size_ - pos_) return false;
        *out = data_ + pos_;
        pos_ += n;
        return true;
    }

private:
    bool ReadLittle(size_t n, uint32_t* v) {
        const uint8_t* p;
        if (!Take(n, &p)) return false;
        *v = 0;
        for (size_t i = n; i-- > 0;) *v = (*v << 8) | p[i];
        return true;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const uint8_t* name, uint32_t length, std::string_view wanted) {
    if (length != wanted.size()) return false;
    for (uint32_t i = 0; i < length; ++i)
        if (LowerAscii(static_cast<char>(name[i])) != LowerAscii(wanted[i])) return false;
    return true;
}

// Reads one record header and body: u16 name length, name, u32 body length, body.
bool ReadRecord(Cursor& in, const uint8_t** name, uint32_t* nameLength, const uint8_t** body, uint32_t* bodyLength) {
    return in.ReadU16(nameLength) && in.Take(*nameLength, name) && in.ReadU32(bodyLength) && in.Take(*bodyLength, body);
}

}  // namespace

std::optional<SkinEntry> FindSkinEntry(const uint8_t* pack, size_t packSize, std::string_view path) {
    if (!pack) return std::nullopt;
    Cursor folder(pack, packSize);
    for (;;) {
        uint32_t subfolders;
        if (!folder.ReadU32(&subfolders)) return std::nullopt;
        size_t slash = path.find('\\');
        bool descended = false;
        for (uint32_t i = 0; i < subfolders && !descended; ++i) {
            const uint8_t *name, *content;
            uint32_t nameLength, contentLength;
            if (!ReadRecord(folder, &name, &nameLength, &content, &contentLength)) return std::nullopt;
            if (slash != std::string_view::npos && SameName(name, nameLength, path.substr(0, slash))) {
                folder = Cursor(content, contentLength);
                path.remove_prefix(slash + 1);
                descended = true;
            }
        }
        if (descended) continue;
        if (slash != std::string_view::npos) return std::nullopt;
        uint32_t files;
        if (!folder.ReadU32(&files)) return std::nullopt;
        for (uint32_t i = 0; i < files; ++i) {
            const uint8_t *name, *data;
            uint32_t nameLength, dataLength;
            if (!ReadRecord(folder, &name, &nameLength, &data, &dataLength)) return std::nullopt;
            if (SameName(name, nameLength, path)) return SkinEntry{data, dataLength};
        }
        return std::nullopt;
    }
}

}  // namespace setup
