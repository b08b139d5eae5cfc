#include "OutcomeTable.h"

#include "TableOrder.h"
#include "Texts.h"

namespace kx {

namespace {

AnsiString Quoted(const AnsiString& name, const char* tail) { return texts::kOpenQuote + name + tail; }

AnsiString NoText(const GenerationOutcome&) { return AnsiString(); }

// What stops the old files from going to the trash, naming the entry where
// there is one.
AnsiString OldFilesKeptText(const GenerationOutcome& o) {
    const MoveCheck& check = o.blocked;
    const auto entry = [&](const char* tail) {
        return texts::kOpenQuote + o.name + texts::kEntryIn + check.entry + tail;
    };
    switch (check.block) {
        case MoveBlock::OtherMount:
            if (!check.entry.empty()) return entry(texts::kEntryOtherMountTail);
            break;
        case MoveBlock::Unmovable:
            if (!check.entry.empty()) return entry(texts::kEntryUnmovableTail);
            break;
        case MoveBlock::HeldOpen:
            if (!check.entry.empty()) return entry(texts::kEntryHeldOpenTail);
            break;
        case MoveBlock::Unreadable:
            if (!check.entry.empty()) return entry(texts::kEntryUnreadableTail);
            break;
        case MoveBlock::TrashInside:
            return Quoted(o.name, texts::kTrashInsideTail);
        case MoveBlock::None:
        case MoveBlock::NotAFolder:
        case MoveBlock::NoTrash:
            break;
    }
    return Quoted(o.name, texts::kOldFilesKeptTail);
}

template <const char* kText>
AnsiString Fixed(const GenerationOutcome&) { return kText; }

// The project name between quotation marks, then the tail.
template <const char* kTail>
AnsiString Named(const GenerationOutcome& o) { return Quoted(o.name, kTail); }

AnsiString ErrorMessage(const GenerationOutcome& o) { return o.error ? o.error->Message() : AnsiString(); }

struct Row {
    OutcomeKind kind;
    Notice notice;
    AnsiString (*text)(const GenerationOutcome&);
    int exitCode;
};

// Every ending, once, in the order of OutcomeKind. The texts and boxes are
// those the Windows program has always shown; kxgen's exit code says
// whether anything changed.
constexpr Row kRows[] = {
    {OutcomeKind::Written,             Notice::None,         NoText,                                 kExitWritten},
    {OutcomeKind::Kept,                Notice::None,         NoText,                                 kExitKept},
    {OutcomeKind::ConverterFailed,     Notice::Error,        Fixed<texts::kConverterFailed>,         kExitUnchanged},
    {OutcomeKind::RootFailed,          Notice::Error,        Fixed<texts::kOutputRootFailed>,        kExitUnchanged},
    {OutcomeKind::NameEmpty,           Notice::Information,  Fixed<texts::kNameEmpty>,               kExitUsage},
    {OutcomeKind::NameMalformed,       Notice::Information,  Fixed<texts::kNameMalformed>,           kExitUsage},
    // A folder of that name could never be created: the Windows program
    // says so, as it always has.
    {OutcomeKind::NameNotCreatable,    Notice::Error,        Named<texts::kFolderFailedTail>,        kExitUsage},
    {OutcomeKind::NameTooLong,         Notice::Error,        Named<texts::kNameTooLongTail>,         kExitUsage},
    {OutcomeKind::Busy,                Notice::Information,  Fixed<texts::kGenerationBusy>,          kExitUnchanged},
    {OutcomeKind::LockFailed,          Notice::Error,        Fixed<texts::kRootLockFailed>,          kExitUnchanged},
    {OutcomeKind::LinkFolder,          Notice::Error,        Named<texts::kLinkFolderTail>,          kExitUnchanged},
    {OutcomeKind::OldFilesKept,        Notice::Error,        OldFilesKeptText,                       kExitUnchanged},
    {OutcomeKind::PlanFailed,          Notice::ErrorDisplay, ErrorMessage,                           kExitUnchanged},
    {OutcomeKind::ProjectFolderFailed, Notice::Error,        Named<texts::kFolderFailedTail>,        kExitUnchanged},
    {OutcomeKind::OldFilesSplit,       Notice::Error,        Named<texts::kOldFilesSplitTail>,       kExitPartial},
    {OutcomeKind::SourceFolderFailed,  Notice::Error,        Named<texts::kFolderFailedTail>,        kExitPartial},
    {OutcomeKind::BuildFolderFailed,   Notice::Error,        Fixed<texts::kBuildFolderFailed>,       kExitPartial},
    {OutcomeKind::WriteFailed,         Notice::ErrorDisplay, ErrorMessage,                           kExitPartial},
};

static_assert(RowsFollow(kRows, &Row::kind, ValuesUpTo(OutcomeKind::WriteFailed)),
              "one row per ending, in the order of OutcomeKind");

const Row& RowFor(OutcomeKind kind) { return kRows[static_cast<std::size_t>(kind)]; }

}  // namespace

OutcomeReport ReportFor(const GenerationOutcome& outcome) {
    const Row& row = RowFor(outcome.kind);
    OutcomeReport report;
    report.notice = row.notice;
    report.text = row.text(outcome);
    report.exitCode = row.exitCode;
    if (row.notice == Notice::Information) report.caption = texts::kNotice;
    if (row.notice == Notice::Error) report.caption = texts::kError;
    return report;
}

bool ChangedNothing(OutcomeKind kind) { return RowFor(kind).exitCode != kExitPartial && kind != OutcomeKind::Written; }

}  // namespace kx
