// One move-only owner per Win32 handle kind. Copying an owner does not compile; moving it
// hands the handle over; the destructor releases it the one right way for its kind.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>
#include <utility>

namespace zuvo {

// Owner of a handle whose release is Traits::Close(handle) and whose empty value is
// Traits::Invalid().
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept : m_handle(Traits::Invalid()) {}
    explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != Traits::Invalid(); }

    // Releases the held handle and takes the new one.
    void reset(Handle handle = Traits::Invalid()) noexcept {
        if (m_handle != Traits::Invalid()) {
            Traits::Close(m_handle);
        }
        m_handle = handle;
    }
    // Gives the handle up without releasing it.
    Handle release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }

private:
    Handle m_handle;
};

struct KernelHandleTraits {  // CreateEvent, CreateMutex, CreateThread, ...
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { CloseHandle(handle); }
};

struct FileHandleTraits {  // CreateFile answers INVALID_HANDLE_VALUE on failure
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { CloseHandle(handle); }
};

template <typename T>
struct GdiObjectTraits {  // HBITMAP, HFONT, HBRUSH, HPEN, HRGN
    using Handle = T;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { DeleteObject(handle); }
};

struct MemoryDcTraits {  // CreateCompatibleDC / CreateDC
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { DeleteDC(handle); }
};

struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept {
        if (IsWindow(handle)) {
            DestroyWindow(handle);
        }
    }
};

struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { DestroyIcon(handle); }
};

struct FindTraits {  // FindFirstFile answers INVALID_HANDLE_VALUE on failure
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { FindClose(handle); }
};

struct ModuleTraits {  // LoadLibrary
    using Handle = HMODULE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { FreeLibrary(handle); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;

// Owner of one reference to a COM object (IStream, ...), released with Release.
struct ComRelease {
    template <typename Interface>
    void operator()(Interface* object) const noexcept {
        object->Release();
    }
};
template <typename Interface>
using UniqueCom = std::unique_ptr<Interface, ComRelease>;

// A device context of a window (GetDC / GetWindowDC), released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window, bool wholeWindow = false) noexcept
        : m_window(window), m_dc(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (m_dc != nullptr) {
            ReleaseDC(m_window, m_dc);
        }
    }
    HDC get() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr; }

private:
    HWND m_window;
    HDC m_dc;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : m_window(window) {
        m_dc = BeginPaint(window, &m_paint);
    }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(m_window, &m_paint); }
    HDC get() const noexcept { return m_dc; }
    const PAINTSTRUCT& paint() const noexcept { return m_paint; }

private:
    HWND m_window;
    HDC m_dc;
    PAINTSTRUCT m_paint;
};

// Selects a GDI object into a device context and puts the previous one back on destruction.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (m_previous != nullptr && m_previous != HGDI_ERROR) {
            SelectObject(m_dc, m_previous);
        }
    }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

}  // namespace zuvo
