// Embedded resources where executables carry none: the table generated at build
// time (ResourceTable.h), searched by type and name ignoring ASCII case.
#include <unistd.h>

#include <cstring>

#include "AsciiText.h"
#include "ChunkedText.h"
#include "PosixFiles.h"
#include "ResourceTable.h"
#include "UnitFunction.h"

namespace kx {

namespace {

const EmbeddedResource* FindEmbeddedResource(const AnsiString& name, const AnsiString& type) {
    for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
        const EmbeddedResource& r = kEmbeddedResources[i];
        if (EqualsIgnoringAsciiCase(type, AnsiView(r.type)) && EqualsIgnoringAsciiCase(name, AnsiView(r.name))) return &r;
    }
    return nullptr;
}

}  // namespace

AnsiString ReadTextResource(const AnsiString& name, const AnsiString& type) {
    AnsiString result;
    try {
        const EmbeddedResource* resource = FindEmbeddedResource(name, type);
        if (resource == nullptr) return result;  // "Resource %s not found", discarded
        result = ReadTextInChunks(resource->data, resource->size);
    } catch (...) {
        result.clear();
    }
    return result;
}

bool ExtractResourceToFile(const AnsiString& path, const AnsiString& name, const AnsiString& type) {
    try {
        const EmbeddedResource* resource = FindEmbeddedResource(name, type);
        if (resource == nullptr || resource->size == 0 || resource->data == nullptr) return false;
        FileDescriptor file = CreateAlways(path, FileAccess::WriteOnly);
        if (!file) return false;
        const bool written = WriteAll(file.Get(), resource->data, resource->size);
        const bool closed = file.Close();
        // A cut-off DLL would be loaded and crash the scripts; a missing one
        // they report. The file is our own by now (made or emptied above).
        if (!written || !closed) ::unlink(NativePath(path).c_str());
        return written && closed;
    } catch (...) {
        return false;
    }
}

std::string ReadResourceBytes(const AnsiString& name, const AnsiString& type) {
    try {
        const EmbeddedResource* resource = FindEmbeddedResource(name, type);
        if (resource == nullptr || resource->data == nullptr) return std::string();
        return std::string(reinterpret_cast<const char*>(resource->data), resource->size);
    } catch (...) {
        return std::string();
    }
}

}  // namespace kx
