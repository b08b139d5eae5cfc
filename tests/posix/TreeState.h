// POSIX tests: everything below a folder as a map, for proving that a run
// changed nothing, or only what it should.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <string>

#include "CodePage.h"
#include "support/TempFolder.h"

namespace kx::test {

// Every entry below a native folder, by path from it ("" for the folder):
// type, permissions and bytes (links: their target), never following a link.
inline std::map<std::string, std::string> Snapshot(const std::string& native) {
    std::map<std::string, std::string> out;
    std::function<void(const std::string&, const std::string&)> walk = [&](const std::string& path,
                                                                          const std::string& rel) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) return;
        std::string& state = out[rel];
        state = std::to_string(st.st_mode) + ":";
        if (S_ISLNK(st.st_mode)) {
            char target[4096];
            const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
            if (n > 0) state.append(target, static_cast<std::size_t>(n));
        } else if (S_ISREG(st.st_mode)) {
            state += ReadFileBytes(AnsiFromUtf8(path)).value_or("<unreadable>");
        } else if (S_ISDIR(st.st_mode)) {
            for (const std::string& name : ListNativeFolder(path)) walk(path + "/" + name, rel + "/" + name);
        }
    };
    walk(native, "");
    return out;
}

// The first path whose state differs; empty when the two agree.
inline std::string FirstDifference(const std::map<std::string, std::string>& a,
                                   const std::map<std::string, std::string>& b) {
    for (const auto& [path, state] : a) {
        const auto it = b.find(path);
        if (it == b.end() || it->second != state) return path.empty() ? "(top)" : path;
    }
    for (const auto& [path, state] : b) {
        if (a.find(path) == a.end()) return path;
    }
    return std::string();
}

}  // namespace kx::test
