#include "ProjectTree.h"

#include "Console.h"

namespace kx::cli {

namespace {

void PrintEntries(std::FILE* stream, const AnsiString& folder, const std::string& indent) {
    const std::vector<FolderEntry> entries = ListFolder(folder);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const bool last = i + 1 == entries.size();
        PrintUtf8(stream, indent + (last ? "└── " : "├── "));
        PrintAnsi(stream, entries[i].name + (entries[i].isFolder ? DisplayPath("\\") : "") + "\n");
        if (entries[i].isFolder) {
            PrintEntries(stream, folder + "\\" + entries[i].name, indent + (last ? "    " : "│   "));
        }
    }
}

}  // namespace

void PrintProjectTree(std::FILE* stream, const AnsiString& folder) {
    PrintAnsi(stream, DisplayPath(folder) + "\n");
    PrintEntries(stream, folder, "");
}

}  // namespace kx::cli
