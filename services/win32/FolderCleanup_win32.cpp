// Emptying a folder through the shell's file operation.
//
// To the Recycle Bin: only where the drive has one (SHQueryRecycleBin), and
// with FOF_WANTNUKEWARNING, so that an item the bin cannot take (too large,
// say) is never destroyed without the user's consent: the shell asks first.
// Before the shell starts, every entry at every depth is opened for DELETE:
// the shell would move what it can and stop half way at a file another
// program holds open (a moved folder takes everything inside
// along, so one open file deep inside stops its top folder). Junctions and
// links are never entered; a folder that is one is never emptied.
#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "FolderCleanup.h"
#include "FolderEntries.h"
#include "FolderRules.h"
#include "Gbk.h"
#include "PathRules.h"
#include "PathSplit.h"
#include "UnitFunction.h"
#include "Win32Handles.h"

namespace kx {

EntryKind KindOfEntry(const WIN32_FIND_DATAA& found) {
    const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return folder ? EntryKind::Folder : EntryKind::File;
    }
    if (folder && found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT) return EntryKind::OtherMount;
    return EntryKind::Link;
}

MoveBlock BlockOfOpenError(DWORD error) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
            return MoveBlock::HeldOpen;
        case ERROR_ACCESS_DENIED:
            return MoveBlock::Unmovable;
        default:
            return MoveBlock::Unreadable;
    }
}

namespace {

// FOF_WANTNUKEWARNING: overrides FOF_NOCONFIRMATION for items that would be
// destroyed rather than recycled.
constexpr unsigned kFofWantNukeWarning = 0x4000;

MoveCheck Blocked(MoveBlock block, const AnsiString& entry, DWORD error) {
    MoveCheck check;
    check.block = block;
    check.entry = entry;
    check.systemError = static_cast<int>(error);
    return check;
}

// An absolute folder the ANSI calls read as it is, that exists as a folder
// and is not a reparse point (a junction would lead the shell elsewhere).
MoveCheck CheckFolderItself(const AnsiString& dir) {
    // An empty folder would give "\*.*", the root of the current drive, and a
    // relative one depends on the current folder. A zero byte would end the
    // list early (the folder's parent or a sibling), a final lead byte would
    // take the appended backslash as its second byte (siblings).
    if (!IsIntactAnsiPath(dir) || !IsAbsoluteWindowsPath(dir)) return Blocked(MoveBlock::NotAFolder, "", 0);
    const DWORD attributes = GetFileAttributesA(dir.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Blocked(MoveBlock::NotAFolder, "", GetLastError());
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return Blocked(MoveBlock::NotAFolder, "", 0);
    }
    return MoveCheck();
}

// "X:\" for a drive path, "\\server\share\" for a UNC path.
AnsiString RootOf(const AnsiString& dir) {
    if (dir.size() >= 2 && dir[1] == ':') return dir.substr(0, 2) + "\\";
    std::size_t separators = 0;
    for (const GbkChar c : GbkChars(dir)) {
        if ((c.Is('\\') || c.Is('/')) && ++separators == 4) return dir.substr(0, c.End());
    }
    return dir + "\\";
}

// The items in the Recycle Bin of dir's drive; nothing where the drive has
// no bin (a network share, some removable drives), with the system's reason.
std::optional<long long> ItemsInBin(const AnsiString& dir, HRESULT& status) {
    SHQUERYRBINFO bin{};
    bin.cbSize = sizeof bin;
    status = SHQueryRecycleBinA(RootOf(dir).c_str(), &bin);
    if (FAILED(status)) return std::nullopt;
    return static_cast<long long>(bin.i64NumItems);
}

// The folder itself (CheckFolderItself), and a Recycle Bin on its drive:
// without one the shell would delete for good.
MoveCheck CheckFolderAndBin(const AnsiString& folder) {
    const MoveCheck itself = CheckFolderItself(folder);
    if (!itself.Clear()) return itself;
    HRESULT status = S_OK;
    if (!ItemsInBin(folder, status)) {
        // The Win32 code inside an HRESULT of that facility, else the HRESULT.
        const bool win32 = HRESULT_FACILITY(status) == FACILITY_WIN32;
        return Blocked(MoveBlock::NoTrash, "", win32 ? HRESULT_CODE(status) : static_cast<DWORD>(status));
    }
    return MoveCheck();
}

// folder\name, one backslash between them whatever folder ends in.
AnsiString Inside(const AnsiString& folder, const AnsiString& name) {
    return EndsWithBackslashChar(folder) ? folder + name : folder + "\\" + name;
}

// '?' is no character of a Windows name: it stands for one the system could
// not give in the ANSI code page, and the name then leads nowhere.
bool HasUnmappedCharacter(const AnsiString& name) {
    for (const GbkChar c : GbkChars(name)) {
        if (c.Is('?')) return true;
    }
    return false;
}

// Opens the entry for DELETE and closes it at once: what moving it needs.
// Sharing everything, it is refused exactly while another program holds the
// entry open without letting it be deleted (KX with the project open), as a
// move would be; a window that merely shows a folder lets it go. An entry
// gone since it was listed needs no move: vanished is set.
MoveCheck CheckOpenForDelete(const AnsiString& path, const AnsiString& entry, bool& vanished) {
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const FileHandle opened(CreateFileA(path.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (opened) return MoveCheck();
    const DWORD error = GetLastError();
    vanished = error == ERROR_FILE_NOT_FOUND;
    return vanished ? MoveCheck() : Blocked(BlockOfOpenError(error), entry, error);
}

// Every entry inside folder at every depth (its folders only with
// includeFolders); relative is folder's own name relative to the checked
// folder. A folder is opened before it is listed: the listing's handle
// would stand in the way of that open.
MoveCheck CheckEntriesIn(const AnsiString& folder, const AnsiString& relative, bool includeFolders) {
    WIN32_FIND_DATAA found{};
    const SearchHandle search(FindFirstFileA(Inside(folder, "*").c_str(), &found));
    if (!search) {
        // A folder another program holds open without sharing cannot even be
        // listed: it is held open, not unreadable.
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? MoveCheck() : Blocked(BlockOfOpenError(error), relative, error);
    }
    do {
        const AnsiString name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (!includeFolders && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        const EntryKind kind = KindOfEntry(found);
        const AnsiString entry = relative.empty() ? name : relative + kPathSeparator + name;
        if (HasUnmappedCharacter(name)) return Blocked(MoveBlock::Unreadable, entry, 0);
        if (kind == EntryKind::OtherMount) return Blocked(MoveBlock::OtherMount, entry, 0);
        const AnsiString path = Inside(folder, name);
        bool vanished = false;
        MoveCheck check = CheckOpenForDelete(path, entry, vanished);
        if (check.Clear() && !vanished && kind == EntryKind::Folder) check = CheckEntriesIn(path, entry, true);
        if (!check.Clear()) return check;
    } while (FindNextFileA(search.Get(), &found));
    const DWORD error = GetLastError();
    return error == ERROR_NO_MORE_FILES ? MoveCheck() : Blocked(MoveBlock::Unreadable, relative, error);
}

MoveCheck CheckMove(const AnsiString& dir, bool includeSubfolders) {
    const MoveCheck folder = CheckFolderAndBin(dir);
    if (!folder.Clear()) return folder;
    return CheckEntriesIn(dir, "", includeSubfolders);
}

// The names the shell's "dir\*.*" takes, in the order it takes them:
// without subfolders, files only.
std::vector<AnsiString> NamesIn(const AnsiString& dir, bool includeSubfolders) {
    std::vector<AnsiString> names;
    WIN32_FIND_DATAA found{};
    const SearchHandle search(FindFirstFileA(DeleteSourceList(dir).c_str(), &found));
    if (!search) return names;
    do {
        const AnsiString name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (includeSubfolders || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(name);
    } while (FindNextFileA(search.Get(), &found));
    return names;
}

// The shell's delete over list: paths each ended by a zero byte, the
// string's own terminator the zero that ends the list.
int RunShellDeleteOf(const AnsiString& list, unsigned flags, bool& aborted) {
    static const char kNoTarget[] = "";
    SHFILEOPSTRUCTA request{};
    request.hwnd = GetActiveWindow();
    request.wFunc = kFoDelete;
    request.pFrom = list.c_str();
    request.pTo = kNoTarget;
    request.fFlags = static_cast<FILEOP_FLAGS>(flags);
    const int result = SHFileOperationA(&request);
    aborted = request.fAnyOperationsAborted != FALSE;
    return result;
}

int RunShellDelete(const AnsiString& dir, unsigned flags, bool& aborted) {
    return RunShellDeleteOf(DeleteSourceList(dir), flags, aborted);  // c_str() ends in two zero bytes
}

// How the shell's go at listed entries ended, left of them still there,
// with the bin's count before and after. Each entry that left is one item
// in the bin, unless the user let the shell destroy it. Another program
// recycling meanwhile hides a destroyed one; the bin emptied or trimmed
// meanwhile shows one that was not: the count errs both ways, only ever
// while it runs. A bin that cannot be counted now is taken for the worse case.
void Settle(TrashResult& result, std::size_t listed, std::size_t left, const std::optional<long long>& binBefore,
            const std::optional<long long>& binAfter) {
    const long long moved = static_cast<long long>(listed - left);
    result.deletedForGood = moved > 0 && (!binBefore || !binAfter || *binAfter - *binBefore < moved);
    result.outcome = left == 0 ? TrashOutcome::Moved
                     : moved == 0 ? TrashOutcome::NothingChanged
                                  : TrashOutcome::PartlyMoved;
}

// Why entries stayed after the shell had its go: the check's reason when it
// finds one now (a file opened meanwhile), else the first entry left in the
// shell's order, where it stopped or what it could not do: the bin refused
// it and the user kept it (the user aborted, with No or Cancel), or the
// shell could not move it.
MoveCheck WhyLeft(const AnsiString& dir, bool includeSubfolders, const AnsiString& firstLeft, bool aborted,
                  int status) {
    const MoveCheck now = CheckMove(dir, includeSubfolders);
    if (!now.Clear()) return now;
    return Blocked(aborted ? MoveBlock::NoTrash : MoveBlock::Unmovable, firstLeft,
                   static_cast<DWORD>(status));
}

}  // namespace

MoveCheck CheckFolderContentsMove(const AnsiString& dir) { return CheckMove(dir, true); }

TrashResult MoveFolderContentsToTrash(const AnsiString& dir, bool includeSubfolders) {
    TrashResult result;
    result.check = CheckMove(dir, includeSubfolders);
    if (!result.check.Clear()) return result;
    const std::vector<AnsiString> listed = NamesIn(dir, includeSubfolders);
    const std::set<AnsiString> before(listed.begin(), listed.end());
    if (before.empty()) {
        result.outcome = TrashOutcome::Moved;
        return result;
    }

    HRESULT status = S_OK;
    const std::optional<long long> binBefore = ItemsInBin(dir, status);
    bool aborted = false;
    const int shellStatus = RunShellDelete(dir, DeleteFlags(includeSubfolders, true) | kFofWantNukeWarning, aborted);
    const std::optional<long long> binAfter = ItemsInBin(dir, status);

    std::vector<AnsiString> left;
    for (const AnsiString& name : NamesIn(dir, includeSubfolders)) {
        if (before.count(name) != 0) left.push_back(name);
    }
    Settle(result, before.size(), left.size(), binBefore, binAfter);
    if (left.empty()) return result;
    result.check = WhyLeft(dir, includeSubfolders, left.front(), aborted, shellStatus);
    return result;
}

namespace {

// Each relative path's levels as the file system shows them, by GBK
// characters: a backslash that is the second byte of 乗 (81 5C) splits nothing.
std::vector<AnsiString> LevelsOf(const AnsiString& relative) {
    std::vector<AnsiString> levels;
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < relative.size(); pos += GbkCharLength(relative, pos)) {
        if (relative[pos] != '\\' && relative[pos] != '/') continue;
        if (pos > start) levels.push_back(relative.substr(start, pos - start));
        start = pos + 1;
    }
    if (start < relative.size()) levels.push_back(relative.substr(start));
    return levels;
}

// What the system says of path; nothing when nothing is there.
std::optional<WIN32_FIND_DATAA> LookAt(const AnsiString& path) {
    WIN32_FIND_DATAA found{};
    const SearchHandle search(FindFirstFileA(path.c_str(), &found));
    if (!search) return std::nullopt;
    return found;
}

// One file to move: its folders on the way real folders, itself a file (or
// a link, moved as itself) that can be opened for DELETE. exists tells
// whether anything is there to move.
MoveCheck CheckFileMove(const AnsiString& folder, const AnsiString& relative, bool& exists) {
    exists = false;
    const std::vector<AnsiString> levels = LevelsOf(relative);
    if (levels.empty()) return Blocked(MoveBlock::NotAFolder, relative, 0);
    AnsiString path = folder;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        path = Inside(path, levels[i]);
        // FindFirstFileA would take a '*' or '?' for a pattern; neither is a
        // character of a Windows name.
        if (levels[i].find_first_of("*?") != AnsiString::npos) return Blocked(MoveBlock::Unreadable, relative, 0);
        const std::optional<WIN32_FIND_DATAA> found = LookAt(path);
        if (!found) {
            const DWORD error = GetLastError();
            const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
            return missing ? MoveCheck() : Blocked(BlockOfOpenError(error), relative, error);
        }
        const EntryKind kind = KindOfEntry(*found);
        const bool last = i + 1 == levels.size();
        if (kind == EntryKind::OtherMount || (!last && kind != EntryKind::Folder)) {
            return Blocked(MoveBlock::OtherMount, relative, 0);  // what lies behind is not the folder's
        }
        if (last && kind == EntryKind::Folder) return Blocked(MoveBlock::Unreadable, relative, ERROR_DIRECTORY);
    }
    bool vanished = false;
    const MoveCheck check = CheckOpenForDelete(path, relative, vanished);
    exists = check.Clear() && !vanished;
    return check;
}

// The full paths of the files that are there, after the folder, the bin and
// each file passed their checks.
MoveCheck CheckFileMoves(const AnsiString& folder, const std::vector<AnsiString>& relativePaths,
                         std::vector<AnsiString>& present) {
    const MoveCheck itself = CheckFolderAndBin(folder);
    if (!itself.Clear()) return itself;
    for (const AnsiString& relative : relativePaths) {
        bool exists = false;
        const MoveCheck check = CheckFileMove(folder, relative, exists);
        if (!check.Clear()) return check;
        if (exists) present.push_back(Inside(folder, relative));
    }
    return MoveCheck();
}

}  // namespace

MoveCheck CheckFilesToTrash(const AnsiString& folder, const std::vector<AnsiString>& relativePaths) {
    std::vector<AnsiString> present;
    return CheckFileMoves(folder, relativePaths, present);
}

TrashResult MoveFilesToTrash(const AnsiString& folder, const std::vector<AnsiString>& relativePaths) {
    TrashResult result;
    std::vector<AnsiString> present;
    result.check = CheckFileMoves(folder, relativePaths, present);
    if (!result.check.Clear()) return result;
    if (present.empty()) {
        result.outcome = TrashOutcome::Moved;
        return result;
    }
    // The shell's list: full paths, each ended by a zero byte, and one more.
    AnsiString list;
    for (const AnsiString& path : present) list.append(path).push_back('\0');

    HRESULT status = S_OK;
    const std::optional<long long> binBefore = ItemsInBin(folder, status);
    bool aborted = false;
    const int shellStatus = RunShellDeleteOf(list, DeleteFlags(true, true) | kFofWantNukeWarning, aborted);
    const std::optional<long long> binAfter = ItemsInBin(folder, status);

    std::vector<AnsiString> left;
    for (const AnsiString& path : present) {
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) left.push_back(path);
    }
    Settle(result, present.size(), left.size(), binBefore, binAfter);
    if (left.empty()) return result;
    const AnsiString firstLeft = left.front().substr(folder.size() + (EndsWithBackslashChar(folder) ? 0 : 1));
    std::vector<AnsiString> stillPresent;
    const MoveCheck now = CheckFileMoves(folder, {firstLeft}, stillPresent);
    result.check = now.Clear() ? Blocked(aborted ? MoveBlock::NoTrash : MoveBlock::Unmovable, firstLeft,
                                         static_cast<DWORD>(shellStatus))
                               : now;
    return result;
}

bool DeleteFolderContents(const AnsiString& dir, bool includeSubfolders, bool toRecycleBin) {
    // The recycle bin asked for means no silent permanent delete, whatever happens.
    if (toRecycleBin) return MoveFolderContentsToTrash(dir, includeSubfolders).outcome == TrashOutcome::Moved;
    if (!IsIntactAnsiPath(dir) || !IsAbsoluteWindowsPath(dir)) return false;
    // A junction or link as the folder itself: never entered.
    const DWORD attributes = GetFileAttributesA(dir.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return false;
    bool aborted = false;
    // fAnyOperationsAborted is not read here: the return value alone decides.
    return RunShellDelete(dir, DeleteFlags(includeSubfolders, false), aborted) == 0;
}

}  // namespace kx
