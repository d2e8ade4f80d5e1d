// Owners of Win32 handles: each frees its handle once, when it goes out of scope.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <wininet.h>

#include <utility>

// A move-only owner of a handle of type T, freed by Traits::Close. Traits::Empty is the "no handle" value;
// Traits::IsEmpty may treat more than one value as empty.
template <typename Traits>
class UniqueResource {
public:
    using Handle = typename Traits::Handle;
    UniqueResource() = default;
    explicit UniqueResource(Handle h) : handle_(h) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~UniqueResource() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return !Traits::IsEmpty(handle_); }
    Handle Release() { return std::exchange(handle_, Traits::Empty()); }
    void Reset(Handle h = Traits::Empty()) {
        if (!Traits::IsEmpty(handle_)) Traits::Close(handle_);
        handle_ = h;
    }
    // For APIs that fill in a handle: frees the current one first.
    Handle* Receive() {
        Reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Empty();
};

// Kernel handles: NULL and INVALID_HANDLE_VALUE both mean "no handle".
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsEmpty(Handle h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::FindClose(h); }
};
using UniqueFindHandle = UniqueResource<FindHandleTraits>;

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { ::RegCloseKey(h); }
};
using UniqueRegKey = UniqueResource<RegKeyTraits>;

template <typename T>
struct GdiObjectTraits {
    using Handle = T;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueRegion = UniqueResource<GdiObjectTraits<HRGN>>;

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { ::DeleteDC(h); }
};
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;

struct IconTraits {
    using Handle = HICON;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueResource<IconTraits>;

struct MenuTraits {
    using Handle = HMENU;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { ::DestroyMenu(h); }
};
using UniqueMenu = UniqueResource<MenuTraits>;

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { ::FreeLibrary(h); }
};
using UniqueModule = UniqueResource<ModuleTraits>;

// WinINet handles: sessions, connections, requests and opened URLs alike.
struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { ::InternetCloseHandle(h); }
};
using UniqueInternet = UniqueResource<InternetHandleTraits>;

struct BstrTraits {
    using Handle = BSTR;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { ::SysFreeString(h); }
};
using UniqueBstr = UniqueResource<BstrTraits>;

// A VARIANT that is cleared (strings, arrays and interfaces freed) when it goes out of scope.
class ScopedVariant {
public:
    ScopedVariant() { ::VariantInit(&v_); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    ~ScopedVariant() { ::VariantClear(&v_); }
    VARIANT* Get() { return &v_; }
    const VARIANT& operator*() const { return v_; }
    // Clears the current value first, for APIs that fill in a VARIANT.
    VARIANT* Receive() {
        ::VariantClear(&v_);
        return &v_;
    }

private:
    VARIANT v_;
};

// A view of a file mapping from MapViewOfFile.
struct MappedViewTraits {
    using Handle = const void*;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { ::UnmapViewOfFile(h); }
};
using UniqueMappedView = UniqueResource<MappedViewTraits>;

// A window from CreateWindowEx, destroyed (with its child windows) when it goes out of scope.
struct WindowTraits {
    using Handle = HWND;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { ::DestroyWindow(h); }
};
using UniqueWindow = UniqueResource<WindowTraits>;

// A window's device context from GetDC (its client area) or GetWindowDC (the whole window), released to that
// window.
class WindowDc {
public:
    enum Area { kClientArea, kWholeWindow };
    explicit WindowDc(HWND hwnd, Area area = kClientArea)
        : hwnd_(hwnd), dc_(area == kWholeWindow ? ::GetWindowDC(hwnd) : ::GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Selects a GDI object into a DC and puts the previous one back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A process and its first thread from CreateProcess.
struct ProcessHandles {
    UniqueHandle process;
    UniqueHandle thread;
    DWORD processId = 0;

    static ProcessHandles From(const PROCESS_INFORMATION& pi) {
        ProcessHandles p;
        p.process.Reset(pi.hProcess);
        p.thread.Reset(pi.hThread);
        p.processId = pi.dwProcessId;
        return p;
    }
};

// COM for the calling thread, uninitialised when it goes out of scope (only if it was initialised here).
class ScopedComInit {
public:
    explicit ScopedComInit(DWORD model = COINIT_APARTMENTTHREADED) : hr_(::CoInitializeEx(nullptr, model)) {}
    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;
    ~ScopedComInit() {
        if (SUCCEEDED(hr_)) ::CoUninitialize();
    }
    bool Ok() const { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

// A COM interface pointer that releases itself.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { Reset(); }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** Receive() {
        Reset();
        return &p_;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};
