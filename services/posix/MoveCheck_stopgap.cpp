// Stop-gap until the clean-up's own check lands: the folder must be a real
// folder; the move itself checks its entries.
#include <sys/stat.h>

#include "FolderCleanup.h"
#include "NativePath.h"

namespace kx {

MoveCheck CheckFolderContentsMove(const AnsiString& dir) {
    MoveCheck check;
    struct stat st {};
    if (::lstat(NativePath(dir).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) check.block = MoveBlock::NotAFolder;
    return check;
}

}  // namespace kx
