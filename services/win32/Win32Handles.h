// Traits for the Windows handles the services own, for UniqueHandle.
#pragma once

#include <windows.h>
#include <objbase.h>

#include "UniqueHandle.h"

namespace kx {

// CreateFileA's handles: failure is INVALID_HANDLE_VALUE, not NULL.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool Close(Handle handle) noexcept { return CloseHandle(handle) != FALSE; }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

// A loaded resource; FreeResource is what releasing the stream over it means.
struct ResourceHandleTraits {
    using Handle = HGLOBAL;
    static Handle Invalid() noexcept { return nullptr; }
    static bool Close(Handle handle) noexcept {
        // FreeResource's result carries no meaning on 32-bit Windows.
        FreeResource(handle);
        return true;
    }
};
using ResourceHandle = UniqueHandle<ResourceHandleTraits>;

// Text that COM allocated (StringFromCLSID) and the caller must free.
struct CoTaskTextTraits {
    using Handle = LPOLESTR;
    static Handle Invalid() noexcept { return nullptr; }
    static bool Close(Handle text) noexcept {
        CoTaskMemFree(text);
        return true;
    }
};
using CoTaskText = UniqueHandle<CoTaskTextTraits>;

}  // namespace kx
