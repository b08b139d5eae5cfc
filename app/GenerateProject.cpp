#include "GenerateProject.h"

#include "FileSystem.h"
#include "FolderCleanup.h"
#include "GenerationLock.h"
#include "ProjectName.h"
#include "ProjectPaths.h"
#include "Texts.h"

namespace kx {

namespace {

AnsiString FolderFailedMessage(const AnsiString& name) {
    return texts::kOpenQuote + name + texts::kFolderFailedTail;
}

AnsiString NamedMessage(const AnsiString& name, const char* tail) { return texts::kOpenQuote + name + tail; }

}  // namespace

void GenerateProject(DialogPort& dialogs, HostPort& host) {
    const AnsiString outputRoot = host.OutputRoot();
    // Another press may create the root between the look and the creation:
    // a root that stands afterwards is all that counts.
    if (!DirectoryExists(outputRoot) && !CreateFolder(outputRoot) && !DirectoryExists(outputRoot)) {
        dialogs.ShowMessageBox(texts::kOutputRootFailed, texts::kError, texts::kStopIcon);
        return;
    }

    const AnsiString proposed = DefaultProjectName(host.Today());
    const AnsiString name = TrimName(
        dialogs.PromptForText(texts::kNamePromptTitle, texts::kNamePromptLabel, proposed));
    switch (CheckProjectName(name)) {
        case NameVerdict::Empty:
            dialogs.ShowMessageBox(texts::kNameEmpty, texts::kNotice, texts::kInfoIcon);
            return;
        case NameVerdict::Malformed:
            dialogs.ShowMessageBox(texts::kNameMalformed, texts::kNotice, texts::kInfoIcon);
            return;
        case NameVerdict::Usable:
            break;
    }

    // One generation at a time in this root, from the look at the project
    // folder to the last file: two presses on one name would otherwise move
    // each other's new files away.
    const GenerationLock lock = GenerationLock::Take(outputRoot);
    if (lock.State() == LockState::Busy) {
        dialogs.ShowMessageBox(texts::kGenerationBusy, texts::kNotice, texts::kInfoIcon);
        return;
    }
    if (lock.State() != LockState::Held) {
        dialogs.ShowMessageBox(texts::kRootLockFailed, texts::kError, texts::kStopIcon);
        return;
    }

    const ProjectPaths paths = ProjectPathsFor(outputRoot, name);
    const AnsiString& projectFolder = paths.folder;
    // A link or junction would lead the clean-up and the new files into
    // whatever folder it points to.
    if (IsLinkOrJunction(projectFolder)) {
        dialogs.ShowMessageBox(NamedMessage(name, texts::kLinkFolderTail), texts::kError, texts::kStopIcon);
        return;
    }
    if (DirectoryExists(projectFolder)) {
        if (dialogs.ShowMessageBox(texts::kProjectExists, texts::kNotice, texts::kOkCancelAsk) !=
            texts::kOk) {
            return;
        }
        // The old contents go to the trash, so a mistaken "OK" costs nothing;
        // where they cannot, nothing new is written over them.
        const TrashResult moved = MoveFolderContentsToTrash(projectFolder, true);
        if (moved.outcome == TrashOutcome::NothingChanged) {
            dialogs.ShowMessageBox(NamedMessage(name, texts::kOldFilesKeptTail), texts::kError, texts::kStopIcon);
            return;
        }
        if (moved.outcome == TrashOutcome::PartlyMoved) {
            host.OldFilesMovedTo(moved.trashFolder);
            dialogs.ShowMessageBox(NamedMessage(name, texts::kOldFilesSplitTail), texts::kError, texts::kStopIcon);
            return;
        }
        host.OldFilesMovedTo(moved.trashFolder);
    } else if (!CreateFolder(projectFolder)) {
        dialogs.ShowMessageBox(FolderFailedMessage(name), texts::kError, texts::kStopIcon);
        return;
    }

    if (!CreateFolder(paths.sourceFolder)) {
        dialogs.ShowMessageBox(FolderFailedMessage(name), texts::kError, texts::kStopIcon);
        return;
    }
    if (!CreateFolder(paths.buildFolder)) {
        dialogs.ShowMessageBox(texts::kBuildFolderFailed, texts::kError, texts::kStopIcon);
        return;
    }

    WriteProjectFiles(outputRoot, name, host);
}

}  // namespace kx
