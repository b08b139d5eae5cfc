// Everything under a folder as lstat and the bytes show it, for proving that
// a run touched nothing it had no business touching.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace kx::fuzz {

struct EntryState {
    unsigned mode = 0;  // type and permission bits
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::string content;  // files: the bytes; links: the target

    bool operator==(const EntryState& other) const {
        return mode == other.mode && size == other.size && modifiedNs == other.modifiedNs &&
               content == other.content;
    }
};

// Native (UTF-8) path relative to the root -> state; the root itself is "".
// Links are recorded, never followed.
using TreeSnapshot = std::map<std::string, EntryState>;

TreeSnapshot SnapshotTree(const std::string& root);

// The first path whose state differs between the two, skipping every path for
// which skip(path) is true; empty when they agree.
template <typename Skip>
std::string FirstDifference(const TreeSnapshot& before, const TreeSnapshot& after, Skip skip) {
    for (const auto& [path, state] : before) {
        if (skip(path)) continue;
        const auto it = after.find(path);
        if (it == after.end() || !(it->second == state)) return path;
    }
    for (const auto& [path, state] : after) {
        if (!skip(path) && before.find(path) == before.end()) return path;
    }
    return std::string();
}

}  // namespace kx::fuzz
