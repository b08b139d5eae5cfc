// DeleteFolderContents through the shell's file operation.
#include <windows.h>
#include <shellapi.h>

#include "FolderRules.h"
#include "PathRules.h"
#include "UnitFunction.h"

namespace kx {

bool DeleteFolderContents(const AnsiString& dir, bool includeSubfolders, bool toRecycleBin) {
    // An empty folder would give "\*.*", the root of the current drive, and a
    // relative one depends on the current folder: neither names a folder the
    // caller can mean, so nothing is deleted. Nor is anything deleted for a
    // folder with a zero byte (the list would end early and name the folder's
    // parent or a sibling) or one that ends in a lead byte (the appended
    // backslash would become its second byte: the pattern would match siblings).
    if (!IsIntactAnsiPath(dir) || !IsAbsoluteWindowsPath(dir)) return false;

    const AnsiString list = DeleteSourceList(dir);  // c_str() ends in two zero bytes
    static const char kNoTarget[] = "";

    SHFILEOPSTRUCTA request{};
    request.hwnd = GetActiveWindow();
    request.wFunc = kFoDelete;
    request.pFrom = list.c_str();
    request.pTo = kNoTarget;
    request.fFlags = static_cast<FILEOP_FLAGS>(DeleteFlags(includeSubfolders, toRecycleBin));
    // fAnyOperationsAborted is not read: the return value alone decides.
    return SHFileOperationA(&request) == 0;
}

}  // namespace kx
