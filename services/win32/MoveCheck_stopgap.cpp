// Stop-gap until the clean-up's own check lands: the folder must be a real
// folder; the move itself checks its entries.
#include <windows.h>

#include "FolderCleanup.h"

namespace kx {

MoveCheck CheckFolderContentsMove(const AnsiString& dir) {
    MoveCheck check;
    const DWORD attributes = GetFileAttributesA(dir.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        check.block = MoveBlock::NotAFolder;
    }
    return check;
}

}  // namespace kx
