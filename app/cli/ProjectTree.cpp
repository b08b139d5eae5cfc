#include "ProjectTree.h"

#include "Console.h"
#include "PathSplit.h"
#include "ShownText.h"

namespace kx::cli {

namespace {

void AppendEntries(std::string& out, const AnsiString& folder, const std::string& indent) {
    const std::vector<FolderEntry> entries = ListFolder(folder);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const bool last = i + 1 == entries.size();
        out += indent + (last ? "└── " : "├── ");
        out += ShownAnsi(entries[i].name + (entries[i].isFolder ? AnsiString(1, kPathSeparator) : "")) + "\n";
        if (entries[i].isFolder) {
            AppendEntries(out, folder + kPathSeparator + entries[i].name, indent + (last ? "    " : "│   "));
        }
    }
}

}  // namespace

std::string ProjectTreeText(const AnsiString& folder) {
    std::string out = ShownAnsi(folder) + "\n";
    AppendEntries(out, folder, "");
    return out;
}

}  // namespace kx::cli
