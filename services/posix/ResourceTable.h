// The resource store of a program built without a resource section: a table
// generated at build time (templates/embed_table.cpp) and linked into each
// executable.
#pragma once

#include <cstddef>

namespace kx {

struct EmbeddedResource {
    const char* type;  // upper-case
    const char* name;  // upper-case
    const unsigned char* data;
    std::size_t size;
};

extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

}  // namespace kx
