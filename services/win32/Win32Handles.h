// Traits for the Windows handles the services own, for UniqueHandle.
#pragma once

#include <windows.h>
#include <objbase.h>

#include "SystemCalls.h"
#include "UniqueHandle.h"

namespace kx {

// CreateFileA's handles: failure is INVALID_HANDLE_VALUE, not NULL. Closed
// through the seam of SystemCalls.h, where the writers' checked close can be
// made to fail.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool Close(Handle handle) noexcept { return os::CloseHandle(handle) != FALSE; }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

// FindFirstFileA's searches: also INVALID_HANDLE_VALUE when there is none.
struct SearchHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool Close(Handle handle) noexcept { return FindClose(handle) != FALSE; }
};
using SearchHandle = UniqueHandle<SearchHandleTraits>;

// A handle that is NULL when there is none and whose release tells nothing
// worth checking.
template <typename H, auto Release>
struct ReleasedHandleTraits {
    using Handle = H;
    static Handle Invalid() noexcept { return nullptr; }
    static bool Close(Handle handle) noexcept {
        Release(handle);
        return true;
    }
};

// A loaded resource: FreeResource is what releasing the stream over it means
// (its result carries no meaning on 32-bit Windows).
using ResourceHandle = UniqueHandle<ReleasedHandleTraits<HGLOBAL, &FreeResource>>;

// Text that COM allocated (StringFromCLSID) and the caller must free.
using CoTaskText = UniqueHandle<ReleasedHandleTraits<LPOLESTR, &CoTaskMemFree>>;

}  // namespace kx
