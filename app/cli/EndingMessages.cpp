#include "EndingMessages.h"

#include "CliTexts.h"
#include "GenerationLock.h"
#include "PathSplit.h"
#include "ShownText.h"
#include "TableOrder.h"

namespace kx::cli {

namespace {

// The text an ending picks, by the details it carries.
using Choose = Text (*)(const GenerationOutcome& outcome, const EndingContext& context);

template <Text kText>
Text Always(const GenerationOutcome&, const EndingContext&) { return kText; }

Text RootText(const GenerationOutcome&, const EndingContext& context) {
    // Someone who named the folder needs no hint to name one.
    return context.rootGiven ? Text::RootFailed : Text::RootFailedDefault;
}

Text ChooseNameRule(const GenerationOutcome& outcome, const EndingContext&) { return NameRuleText(outcome.nameRule); }

Text ChooseTooLong(const GenerationOutcome& outcome, const EndingContext&) { return TooLongText(outcome.tooLong); }

Text ChooseOldFilesKept(const GenerationOutcome& outcome, const EndingContext&) {
    return OldFilesKeptText(outcome.blocked);
}

Text WriteFailedText(const GenerationOutcome& outcome, const EndingContext&) {
    switch (outcome.failedFile.step) {
        case FileStep::Create: return Text::FileNotCreatedPartWay;
        case FileStep::Write: return Text::FileNotWrittenPartWay;
        case FileStep::None: break;
    }
    return Text::WriteFailedPartWay;
}

struct Row {
    OutcomeKind kind;
    Choose text;  // nullptr: nothing is said
};

// Every ending, once, in the order of OutcomeKind.
constexpr Row kRows[] = {
    {OutcomeKind::Written, nullptr},
    {OutcomeKind::Kept, Always<Text::Kept>},
    {OutcomeKind::ConverterFailed, Always<Text::ConverterFailed>},
    {OutcomeKind::RootFailed, RootText},
    {OutcomeKind::NameEmpty, Always<Text::NameEmpty>},
    {OutcomeKind::NameMalformed, Always<Text::NameMalformed>},
    {OutcomeKind::NameNotCreatable, ChooseNameRule},
    {OutcomeKind::NameTooLong, ChooseTooLong},
    {OutcomeKind::Busy, Always<Text::Busy>},
    {OutcomeKind::LockFailed, Always<Text::LockFailed>},
    {OutcomeKind::LinkFolder, Always<Text::LinkFolder>},
    {OutcomeKind::OldFilesKept, ChooseOldFilesKept},
    {OutcomeKind::PlanFailed, Always<Text::PlanFailed>},
    {OutcomeKind::ProjectFolderFailed, Always<Text::ProjectFolderFailed>},
    {OutcomeKind::OldFilesSplit, Always<Text::OldFilesSplit>},
    {OutcomeKind::SourceFolderFailed, Always<Text::FolderFailedPartWay>},
    {OutcomeKind::BuildFolderFailed, Always<Text::FolderFailedPartWay>},
    {OutcomeKind::WriteFailed, WriteFailedText},
};

static_assert(RowsFollow(kRows, &Row::kind, ValuesUpTo(OutcomeKind::WriteFailed)),
              "one row per ending, in the order of OutcomeKind");

// The system's reason for the ending, where it gave one.
std::string ReasonFor(const GenerationOutcome& outcome, const EndingContext& context) {
    if (outcome.kind == OutcomeKind::WriteFailed) return ShownAnsi(outcome.failedFile.systemText);
    const bool oldFiles = outcome.kind == OutcomeKind::OldFilesKept || outcome.kind == OutcomeKind::OldFilesSplit;
    const int error = oldFiles ? outcome.blocked.systemError : outcome.systemError;
    return error != 0 && context.systemReason != nullptr ? context.systemReason(error) : std::string();
}

// The folder the ending is about when it is one the project makes below its own.
AnsiString MadeFolder(const GenerationOutcome& outcome) {
    return outcome.kind == OutcomeKind::BuildFolderFailed ? outcome.paths.buildFolder : outcome.paths.sourceFolder;
}

}  // namespace

Text NameRuleText(WindowsNameRule rule) {
    switch (rule) {
        case WindowsNameRule::ForbiddenCharacter: return Text::NameForbiddenCharacter;
        case WindowsNameRule::TrailingDotOrSpace: return Text::NameTrailingDotOrSpace;
        case WindowsNameRule::ReservedDevice: return Text::NameReservedDevice;
        case WindowsNameRule::UndefinedCharacter: return Text::NameUndefinedCharacter;
        case WindowsNameRule::Empty:
        case WindowsNameRule::None: break;
    }
    return Text::NameNotForWindows;
}

Text TooLongText(const PathFit& fit) {
    return fit.nameTooLong ? Text::NameComponentTooLong : Text::NamePathTooLong;
}

Text OldFilesKeptText(const MoveCheck& check) {
    // Without an entry to name, what is left to say is that no trash takes them.
    const bool named = !check.entry.empty();
    switch (check.block) {
        case MoveBlock::NotAFolder: return Text::OldFilesNotAFolder;
        case MoveBlock::Unreadable: return named ? Text::OldFilesUnreadable : Text::OldFilesNoTrash;
        case MoveBlock::OtherMount: return named ? Text::OldFilesOtherMount : Text::OldFilesNoTrash;
        case MoveBlock::Unmovable: return named ? Text::OldFilesUnmovable : Text::OldFilesNoTrash;
        case MoveBlock::HeldOpen: return named ? Text::OldFilesHeldOpen : Text::OldFilesNoTrash;
        case MoveBlock::TrashInside: return Text::OldFilesTrashInside;
        case MoveBlock::NoTrash:
        case MoveBlock::None: break;
    }
    return Text::OldFilesNoTrash;
}

std::string EndingMessage(const GenerationOutcome& outcome, Language language, const EndingContext& context) {
    const Row& row = kRows[static_cast<std::size_t>(outcome.kind)];
    if (row.text == nullptr) return {};
    const PathFit& fit = outcome.tooLong;
    std::string path = ShownAnsi(MadeFolder(outcome));
    if (outcome.kind == OutcomeKind::NameTooLong) path = ShownAnsi(fit.path);
    if (outcome.kind == OutcomeKind::WriteFailed) path = ShownAnsi(outcome.failedFile.path);
    return Say(language, row.text(outcome, context),
               {{"name", ShownAnsi(outcome.name)},
                {"folder", ShownAnsi(outcome.paths.folder)},
                {"root", context.root},
                {"lock", context.root + kPathSeparator + kGenerationLockName},
                {"entry", ShownAnsi(outcome.paths.folder + kPathSeparator + outcome.blocked.entry)},
                {"path", path},
                {"length", std::to_string(fit.length)},
                {"limit", std::to_string(fit.limit)},
                {"unit", Pattern(language, context.lengthsInBytes ? Text::UnitBytes : Text::UnitCharacters)},
                {"because", Because(language, ReasonFor(outcome, context))},
                {"error", outcome.error ? ShownAnsi(outcome.error->Message()) : std::string()}});
}

std::string OldFilesMessage(const OldFiles& old, Language language) {
    switch (old.place) {
        case OldFilesPlace::None: break;
        case OldFilesPlace::Trash: return Say(language, Text::OldFilesInTrash, {{"folder", ShownAnsi(old.folder)}});
        case OldFilesPlace::RecycleBin:
            return Say(language, old.someDeletedForGood ? Text::OldFilesPartlyDeleted : Text::OldFilesInRecycleBin);
    }
    return {};
}

}  // namespace kx::cli
