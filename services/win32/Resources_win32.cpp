// Embedded resources of the running executable, through the ANSI resource
// calls (which match names and types ignoring letter case).
#include <windows.h>

#include "ChunkedText.h"
#include "PathRules.h"
#include "RegularFile.h"
#include "UnitFunction.h"
#include "Win32Handles.h"

namespace kx {

AnsiString ReadTextResource(const AnsiString& name, const AnsiString& type) {
    AnsiString result;
    try {
        HMODULE module = GetModuleHandleA(nullptr);
        HRSRC info = FindResourceA(module, name.c_str(), type.c_str());
        if (info == nullptr) return result;  // resource not found: nothing to report
        ResourceHandle loaded(LoadResource(module, info));
        if (!loaded) return result;
        const DWORD size = SizeofResource(module, info);
        const void* bytes = LockResource(loaded.Get());
        if (bytes == nullptr && size != 0) return result;
        AnsiString text = ReadTextInChunks(bytes, size);
        result.swap(text);
    } catch (...) {
        // Memory ran out half way: whatever was gathered is dropped.
        result.clear();
    }
    return result;
}

bool ExtractResourceToFile(const AnsiString& path, const AnsiString& name, const AnsiString& type) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, name.c_str(), type.c_str());
    if (info == nullptr) return false;
    const DWORD size = SizeofResource(module, info);
    if (size == 0) return false;  // no file for an empty payload
    HGLOBAL loaded = LoadResource(module, info);
    if (loaded == nullptr) return false;
    const void* bytes = LockResource(loaded);
    if (bytes == nullptr) return false;

    // A path the ANSI call would take for another one cannot be created.
    if (!IsIntactAnsiPath(path)) return false;
    // Write-only; others may write but not read while the payload goes in.
    FileHandle file = CreateRegularFileAlways(path, GENERIC_WRITE, FILE_SHARE_WRITE);
    if (!file) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file.Get(), bytes, size, &written, nullptr);
    // A failing close can mean bytes that never reached the disk.
    const bool closed = file.Close();
    if (!ok || written < size || !closed) {
        // A cut-off DLL would be loaded and crash the scripts; a missing one
        // they report. The file is our own by now (made or emptied above).
        DeleteFileA(path.c_str());
        return false;
    }

    // The resource is released only after a complete write; a failed one
    // leaves it loaded, which costs nothing for a module's own resources.
    FreeResource(loaded);
    return true;
}

std::string ReadResourceBytes(const AnsiString& name, const AnsiString& type) {
    try {
        HMODULE module = GetModuleHandleA(nullptr);
        HRSRC info = FindResourceA(module, name.c_str(), type.c_str());
        if (info == nullptr) return std::string();
        const DWORD size = SizeofResource(module, info);
        HGLOBAL loaded = LoadResource(module, info);
        const void* bytes = loaded == nullptr ? nullptr : LockResource(loaded);
        // A module's own resources stay loaded with it: nothing to free.
        return bytes == nullptr ? std::string() : std::string(static_cast<const char*>(bytes), size);
    } catch (...) {
        return std::string();
    }
}

}  // namespace kx
