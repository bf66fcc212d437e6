// Move-only owners for Win32 handles: copying one would close the handle twice.
#pragma once

#include <windows.h>

#include <utility>

namespace tavro::base {

template <typename Handle, auto Close, Handle Invalid = Handle{}>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Invalid)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Invalid));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Invalid; }
    void reset(Handle h = Invalid) {
        if (handle_ != Invalid) Close(handle_);
        handle_ = h;
    }
    Handle release() { return std::exchange(handle_, Invalid); }

private:
    Handle handle_ = Invalid;
};

using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandle>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, DeleteObject>;
using UniqueMemoryDc = UniqueHandle<HDC, DeleteDC>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;
using UniqueKey = UniqueHandle<HKEY, RegCloseKey>;

// Selects an object into a DC for a scope and puts the old one back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() {
        if (old_) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace tavro::base
