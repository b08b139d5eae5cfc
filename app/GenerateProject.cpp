#include "GenerateProject.h"

#include "FileSystem.h"
#include "ProjectName.h"
#include "Texts.h"

namespace kx {

namespace {

AnsiString FolderFailedMessage(const AnsiString& name) {
    return texts::kOpenQuote + name + texts::kFolderFailedTail;
}

}  // namespace

void GenerateProject(DialogPort& dialogs, HostPort& host) {
    const AnsiString outputRoot = host.OutputRoot();
    if (!DirectoryExists(outputRoot) && !CreateFolder(outputRoot)) {
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

    const AnsiString projectFolder = outputRoot + "\\" + name;
    if (DirectoryExists(projectFolder)) {
        if (dialogs.ShowMessageBox(texts::kProjectExists, texts::kNotice, texts::kOkCancelAsk) !=
            texts::kOk) {
            return;
        }
        // The old contents go to the recycle bin, so a mistaken "OK" costs nothing.
        // A partial clean-up shows up below, when the source folder cannot be made.
        DeleteFolderContents(projectFolder, true, true);
    } else if (!CreateFolder(projectFolder)) {
        dialogs.ShowMessageBox(FolderFailedMessage(name), texts::kError, texts::kStopIcon);
        return;
    }

    if (!CreateFolder(projectFolder + "\\" + name)) {
        dialogs.ShowMessageBox(FolderFailedMessage(name), texts::kError, texts::kStopIcon);
        return;
    }
    if (!CreateFolder(projectFolder + "\\" + texts::kBuildFolderName)) {
        dialogs.ShowMessageBox(texts::kBuildFolderFailed, texts::kError, texts::kStopIcon);
        return;
    }

    WriteProjectFiles(outputRoot, name, host);
}

}  // namespace kx
