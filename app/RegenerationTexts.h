// The texts of a regeneration that keeps the old files, as GBK bytes. The
// characters are in templates/texts/ProgramTexts.utf8.h. A folder's name goes
// between kOpenQuote (Texts.h) and a tail.
#pragma once

#include "ProgramTexts.h"

namespace kx::texts {

inline constexpr char kLinkFolderTail[] = KX_TEXT_LINK_FOLDER_TAIL;
inline constexpr char kOldFilesKeptTail[] = KX_TEXT_OLD_FILES_KEPT_TAIL;
inline constexpr char kOldFilesSplitTail[] = KX_TEXT_OLD_FILES_SPLIT_TAIL;
inline constexpr char kGenerationBusy[] = KX_TEXT_GENERATION_BUSY;
inline constexpr char kRootLockFailed[] = KX_TEXT_ROOT_LOCK_FAILED;
// kxgen's line after a regeneration: a folder follows, or the recycle bin.
inline constexpr char kOldFilesMovedTo[] = KX_TEXT_OLD_FILES_MOVED_TO;
inline constexpr char kOldFilesInRecycleBin[] = KX_TEXT_OLD_FILES_IN_RECYCLE_BIN;

}  // namespace kx::texts
