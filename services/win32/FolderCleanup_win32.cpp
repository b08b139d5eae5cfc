// Emptying a folder through the shell's file operation.
//
// To the Recycle Bin: only where the drive has one (SHQueryRecycleBin), and
// with FOF_WANTNUKEWARNING, so that an item the bin cannot take (too large,
// say) is never destroyed without the user's consent: the shell asks first.
// A folder that is itself a junction or link is never emptied.
#include <windows.h>
#include <shellapi.h>

#include <set>
#include <string>

#include "FolderCleanup.h"
#include "FolderRules.h"
#include "Gbk.h"
#include "PathRules.h"
#include "UnitFunction.h"

namespace kx {

namespace {

// FOF_WANTNUKEWARNING: overrides FOF_NOCONFIRMATION for items that would be
// destroyed rather than recycled.
constexpr unsigned kFofWantNukeWarning = 0x4000;

// An absolute folder the ANSI calls read as it is, that exists as a folder
// and is not a reparse point (a junction would lead the shell elsewhere).
bool IsRealFolder(const AnsiString& dir) {
    // An empty folder would give "\*.*", the root of the current drive, and a
    // relative one depends on the current folder. A zero byte would end the
    // list early (the folder's parent or a sibling), a final lead byte would
    // take the appended backslash as its second byte (siblings).
    if (!IsIntactAnsiPath(dir) || !IsAbsoluteWindowsPath(dir)) return false;
    const DWORD attributes = GetFileAttributesA(dir.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// "X:\" for a drive path, "\\server\share\" for a UNC path.
AnsiString RootOf(const AnsiString& dir) {
    if (dir.size() >= 2 && dir[1] == ':') return dir.substr(0, 2) + "\\";
    std::size_t separators = 0;
    for (std::size_t pos = 0; pos < dir.size(); pos += GbkCharLength(dir, pos)) {
        if ((dir[pos] == '\\' || dir[pos] == '/') && ++separators == 4) return dir.substr(0, pos + 1);
    }
    return dir + "\\";
}

std::set<AnsiString> NamesIn(const AnsiString& dir) {
    std::set<AnsiString> names;
    const AnsiString pattern = DeleteSourceList(dir).c_str();  // the same "dir\*.*"
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const AnsiString name = found.cFileName;
        if (name != "." && name != "..") names.insert(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

int RunShellDelete(const AnsiString& dir, unsigned flags, bool& aborted) {
    const AnsiString list = DeleteSourceList(dir);  // c_str() ends in two zero bytes
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

}  // namespace

TrashResult MoveFolderContentsToTrash(const AnsiString& dir, bool includeSubfolders) {
    TrashResult result;
    if (!IsRealFolder(dir)) return result;
    // No bin on this drive (a network share, some removable drives): the
    // shell would delete for good, so nothing is done.
    SHQUERYRBINFO bin{};
    bin.cbSize = sizeof bin;
    if (FAILED(SHQueryRecycleBinA(RootOf(dir).c_str(), &bin))) return result;

    const std::set<AnsiString> before = NamesIn(dir);
    bool aborted = false;
    const int status = RunShellDelete(dir, DeleteFlags(includeSubfolders, true) | kFofWantNukeWarning, aborted);
    if (status == 0 && !aborted) {
        result.outcome = TrashOutcome::Moved;
        return result;
    }
    result.outcome = NamesIn(dir) == before ? TrashOutcome::NothingChanged : TrashOutcome::PartlyMoved;
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
