#include "engine/PackageArchive.h"

#include <windows.h>

#include <new>
#include <vector>

#include "7zCrc.h"
#include "common/Handles.h"
#include "common/ItemName.h"
#include "engine/PackagePaths.h"
#include "lib/sevenzip/MemoryInStream.h"
#include "lib/sevenzip/SevenZipArchive.h"

namespace {
void* Alloc(ISzAllocPtr, size_t size) { return size ? ::operator new(size, std::nothrow) : nullptr; }
void Free(ISzAllocPtr, void* address) { ::operator delete(address); }
const ISzAlloc kAlloc = {Alloc, Free};
}  // namespace

bool PackageArchive::Open(const uint8_t* bytes, size_t size) {
    files_.clear();
    static bool crcReady = false;
    if (!crcReady) {
        CrcGenerateTable();
        crcReady = true;
    }
    MemoryInStream stream(bytes, size);
    SevenZipArchive archive(&kAlloc, &kAlloc);
    if (!archive.Open(&stream.vt) || !archive.HasOnlySafeNames()) return false;
    uint64_t total = 0;
    for (uint32_t block = 0; block < archive.BlockCount(); ++block) total += archive.BlockUnpackedSize(block);
    if (total > kMaxUnpacked) return false;
    std::map<std::wstring, std::string> files;
    for (uint32_t item = 0; item < archive.ItemCount(); ++item) {
        if (archive.IsFolder(item)) continue;
        const std::vector<uint16_t>& name = archive.ItemName(item);
        std::wstring key = NormalisePath(std::wstring(name.begin(), name.end()));
        const uint8_t* data = nullptr;
        size_t length = 0;
        if (!archive.ItemBytes(item, &data, &length)) return false;
        files[key].assign(reinterpret_cast<const char*>(data), length);
    }
    files_ = std::move(files);
    return true;
}

bool PackageArchive::OpenFile(const std::wstring& path) {
    files_.clear();
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > LONGLONG(kMaxArchive)) return false;
    std::vector<uint8_t> bytes(size_t(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!::ReadFile(file.Get(), bytes.data(), DWORD(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return false;
    return Open(bytes.data(), bytes.size());
}

const std::string* PackageArchive::Find(const std::wstring& name) const {
    auto it = files_.find(NormalisePath(name));
    return it == files_.end() ? nullptr : &it->second;
}
