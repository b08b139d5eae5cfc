#include "FolderRules.h"

#include "PathRules.h"

namespace kx {

AnsiString DeleteSourceList(const AnsiString& dir) {
    AnsiString list = dir;
    if (!EndsWithBackslashChar(list)) list += '\\';
    list += "*.*";
    list += '\0';
    return list;
}

unsigned DeleteFlags(bool includeSubfolders, bool toRecycleBin) {
    unsigned flags = kFofSilent | kFofNoConfirmation | kFofNoErrorUi;
    if (!includeSubfolders) flags |= kFofFilesOnly;
    if (toRecycleBin) flags |= kFofAllowUndo;
    return flags;
}

}  // namespace kx
