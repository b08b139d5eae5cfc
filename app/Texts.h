// The workflow's own texts, as GBK bytes. The characters are in
// templates/texts/ProgramTexts.utf8.h; the build makes ProgramTexts.h of it.
#pragma once

#include "ProgramTexts.h"

namespace kx::texts {

// Folders and files.
inline constexpr char kOutputRootName[] = KX_TEXT_OUTPUT_ROOT_NAME;
inline constexpr char kBuildFolderName[] = KX_TEXT_BUILD_FOLDER_NAME;
inline constexpr char kRuntimeFunFile[] = KX_TEXT_RUNTIME_FUN_FILE;
inline constexpr char kPublicFunFile[] = KX_TEXT_PUBLIC_FUN_FILE;
inline constexpr char kKeyScriptFile[] = KX_TEXT_KEY_SCRIPT_FILE;

// Captions.
inline constexpr char kError[] = KX_TEXT_ERROR;
inline constexpr char kNotice[] = KX_TEXT_NOTICE;

// The name prompt.
inline constexpr char kNamePromptTitle[] = KX_TEXT_NAME_PROMPT_TITLE;
inline constexpr char kNamePromptLabel[] = KX_TEXT_NAME_PROMPT_LABEL;

// Messages.
inline constexpr char kOutputRootFailed[] = KX_TEXT_OUTPUT_ROOT_FAILED;
inline constexpr char kNameEmpty[] = KX_TEXT_NAME_EMPTY;
inline constexpr char kNameMalformed[] = KX_TEXT_NAME_MALFORMED;
inline constexpr char kProjectExists[] = KX_TEXT_PROJECT_EXISTS;
inline constexpr char kOpenQuote[] = KX_TEXT_OPEN_QUOTE;
inline constexpr char kFolderFailedTail[] = KX_TEXT_FOLDER_FAILED_TAIL;
inline constexpr char kBuildFolderFailed[] = KX_TEXT_BUILD_FOLDER_FAILED;

// A regeneration that cannot keep the old files, or must wait: a folder's
// name goes between kOpenQuote and a tail.
inline constexpr char kLinkFolderTail[] = KX_TEXT_LINK_FOLDER_TAIL;
inline constexpr char kOldFilesKeptTail[] = KX_TEXT_OLD_FILES_KEPT_TAIL;
inline constexpr char kOldFilesSplitTail[] = KX_TEXT_OLD_FILES_SPLIT_TAIL;
inline constexpr char kGenerationBusy[] = KX_TEXT_GENERATION_BUSY;
inline constexpr char kRootLockFailed[] = KX_TEXT_ROOT_LOCK_FAILED;


// What stops a regeneration before its first change. An entry of the project
// folder goes between kOpenQuote + name + kEntryIn and a tail.
inline constexpr char kEntryIn[] = KX_TEXT_ENTRY_IN;
inline constexpr char kEntryOtherMountTail[] = KX_TEXT_ENTRY_OTHER_MOUNT_TAIL;
inline constexpr char kEntryUnmovableTail[] = KX_TEXT_ENTRY_UNMOVABLE_TAIL;
inline constexpr char kEntryHeldOpenTail[] = KX_TEXT_ENTRY_HELD_OPEN_TAIL;
inline constexpr char kEntryUnreadableTail[] = KX_TEXT_ENTRY_UNREADABLE_TAIL;
inline constexpr char kTrashInsideTail[] = KX_TEXT_TRASH_INSIDE_TAIL;
inline constexpr char kNameTooLongTail[] = KX_TEXT_NAME_TOO_LONG_TAIL;
inline constexpr char kConverterFailed[] = KX_TEXT_CONVERTER_FAILED;

// The sample key script.
inline constexpr char kKeyScript[] = KX_TEXT_KEY_SCRIPT;

}  // namespace kx::texts
