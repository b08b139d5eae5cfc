// Every text kxgen shows under its own name, in English and in Simplified
// Chinese, one row per text with both languages side by side. The Windows
// program's texts (ProgramTexts) are not among them: kxgen speaks the
// user's language, the Windows program its own Chinese.
#pragma once

#include <initializer_list>
#include <string>

#include "CliOptions.h"
#include "Language.h"

namespace kx::cli {

enum class Text {
    // The command line and --help.
    Synopsis,
    TryHelp,
    HelpIntro,
    HelpOptionsHeading,
    HelpNotes,
    HelpClosing,
    NamePlaceholder,
    FolderPlaceholder,
    UnknownOption,
    MissingValue,
    UnexpectedValue,
    EmptyFolder,
    NameTwice,
    CommandsTogether,
    ForceAlone,
    UpdateOptions,
    ArgumentNotInCharset,
    TypedNotInCharset,
    NameUnencodable,
    FolderUnencodable,

    // The questions.
    NamePrompt,
    RegenerateQuestion,

    // How a generation ended (EndingMessages.cpp picks among them).
    Because,
    UnitBytes,
    UnitCharacters,
    Kept,
    ConverterFailed,
    RootFailed,
    RootFailedDefault,
    NameEmpty,
    NameMalformed,
    NameForbiddenCharacter,
    NameTrailingDotOrSpace,
    NameReservedDevice,
    NameUndefinedCharacter,
    NameNotForWindows,
    NameComponentTooLong,
    NamePathTooLong,
    Busy,
    LockFailed,
    LinkFolder,
    OldFilesNotAFolder,
    OldFilesUnreadable,
    OldFilesOtherMount,
    OldFilesUnmovable,
    OldFilesHeldOpen,
    OldFilesNoTrash,
    OldFilesTrashInside,
    PlanFailed,
    ProjectFolderFailed,
    OldFilesSplit,
    FolderFailedPartWay,
    FileNotCreatedPartWay,
    FileNotWrittenPartWay,
    WriteFailedPartWay,

    // After a generation.
    OldFilesInTrash,
    OldFilesInRecycleBin,
    OldFilesPartlyDeleted,
    OpenFailed,

    // The template commands.
    TemplateFolderMissing,
    FileExists,
    NothingWrittenUseForce,
    Exported,
    ExportPathIsFile,
    ExportFolderFailed,
    ExportTemplateMissing,
    ExportDllFailed,
    ExportGuideFailed,
    ExportFileNotCreated,
    ExportFileNotWritten,
    CheckFindings,
    CheckClean,
    TemplatesRefused,
    FindingRefusal,
    FindingWarning,
    FindingEmpty,
    FindingNotUtf8,
    FindingNul,
    FindingNotInCodePage,
    FindingLineNotInCodePage,
    FindingStrayDollar,
    FindingPlaceholderKept,
    FindingLineEnds,
    FindingMoreLines,
    FindingUnreadable,
    FindingNotPointPicker,
    FindingNoTemplateFiles,
    DllNotPe,
    DllNotX86,
    DllNotDll,
    DllMissingOrdinal,
    ListSeparator,

    // How an update ended (UpdateMessages.cpp picks among them), and what it
    // did file by file.
    UpdateBusy,
    UpdateDone,
    UpdateConflicts,
    UpdateNothingNew,
    UpdateNoProject,
    UpdateRecordUnusable,
    RecordUnreadable,
    RecordMalformed,
    RecordHashMismatch,
    RecordOtherProject,
    UpdateFileUnreadable,
    UpdateFileHeldOpen,
    UpdatePlanFailed,
    UpdateOldFilesSplit,
    UpdateWriteFailed,
    UpdateDryRun,
    FileMerged,
    FileReplaced,
    FileAdded,
    FileConflict,
    FileKeptOwnCopy,
    FileKeptUnreadable,
    FileStaysDeleted,
    FileMergedWithYourLineEnds,
    RecordCreated,

    // Before a console window of kxgen's own closes (see KeyBeforeExit.h).
    PressAnyKey,

    Count
};

// The text as written, with its "{field}" placeholders.
const char* Pattern(Language language, Text text);

struct Field {
    const char* key;  // "name" stands for "{name}"
    std::string value;
};

// pattern with each "{key}" replaced by its field's value; a placeholder
// without a field stays as it is.
std::string Fill(const char* pattern, std::initializer_list<Field> fields);

inline std::string Say(Language language, Text text, std::initializer_list<Field> fields = {}) {
    return Fill(Pattern(language, text), fields);
}

// ": reason" in the language; nothing for an empty reason.
std::string Because(Language language, const std::string& reason);

// The message for a command-line error, without prefix and line end.
std::string UsageErrorMessage(Language language, UsageError error, const std::string& subject);

// What every line kxgen writes about itself on standard error starts with,
// in every language.
inline constexpr char kPrefix[] = "kxgen: ";

}  // namespace kx::cli
