#include "GenerationPlan.h"

#include "CodePage.h"
#include "FileSystem.h"
#include "PathSplit.h"
#include "ProjectName.h"
#include "Texts.h"
#include "UnitFunction.h"
#include "update/ProjectRecord.h"

namespace kx {

namespace {

Planning Stop(OutcomeKind kind, GenerationOutcome ending = {}) {
    ending.kind = kind;
    Planning planning;
    planning.ending = std::move(ending);
    return planning;
}

// The output root stands afterwards: another press may make it between the
// look and the creation, and a root that stands is all that counts.
bool OutputRootStands(HostPort& host, const AnsiString& root, int& systemError) {
    return DirectoryExists(root) || host.CreateOutputRoot(root, systemError) || DirectoryExists(root);
}

// The first path of the project (below the output root) that does not fit
// its file system: the folders, the DLL and the text files.
PathFit FirstProjectPathTooLong(const GenerationPlan& plan) {
    const AnsiString& name = plan.name;
    std::vector<PathBelow> paths = {
        {name, true},
        {name + kPathSeparator + name, true},
        {name + kPathSeparator + texts::kBuildFolderName, true},
        {name + kPathSeparator + DllRelativePath(), false},
    };
    for (const ProjectTextFile& file : plan.textFiles) paths.push_back({name + kPathSeparator + file.relativePath, false});
    if (!plan.recordVersion.empty()) {
        const std::vector<PathBelow> record = RecordPathsBelow(name);
        paths.insert(paths.end(), record.begin(), record.end());
    }
    return FirstPathTooLong(plan.outputRoot, paths);
}

}  // namespace

Planning PlanGeneration(DialogPort& dialogs, HostPort& host) {
    GenerationOutcome ending;
    try {
        // Paths and texts are converted at every step from here on: a
        // converter that cannot start stops the run before the root is made.
        try {
            EnsureCodePage();
        } catch (const ConversionError& error) {
            ending.error = error;
            return Stop(OutcomeKind::ConverterFailed, std::move(ending));
        }

        const AnsiString outputRoot = host.OutputRoot();
        if (!OutputRootStands(host, outputRoot, ending.systemError)) return Stop(OutcomeKind::RootFailed, std::move(ending));

        ending.name = TrimName(dialogs.AskProjectName(DefaultProjectName(host.Today())));
        switch (CheckProjectName(ending.name)) {
            case NameVerdict::Empty: return Stop(OutcomeKind::NameEmpty, std::move(ending));
            case NameVerdict::Malformed: return Stop(OutcomeKind::NameMalformed, std::move(ending));
            case NameVerdict::Usable: break;
        }
        // Windows could not create the folder; on Linux the project would
        // not copy to Windows, and an existing folder of that name is no
        // project of ours to empty.
        ending.nameRule = BrokenWindowsNameRule(ending.name);
        if (ending.nameRule != WindowsNameRule::None) return Stop(OutcomeKind::NameNotCreatable, std::move(ending));
        ending.paths = ProjectPathsFor(outputRoot, ending.name);

        // One generation at a time in this root, from the look at the
        // project folder to the last file: two presses on one name would
        // otherwise move each other's new files away.
        Planning planning;
        planning.lock.emplace(GenerationLock::Take(outputRoot));
        if (planning.lock->State() == LockState::Busy) return Stop(OutcomeKind::Busy, std::move(ending));
        if (planning.lock->State() != LockState::Held) {
            ending.systemError = planning.lock->SystemError();
            return Stop(OutcomeKind::LockFailed, std::move(ending));
        }

        // A link or junction would lead the clean-up and the new files into
        // whatever folder it points to.
        if (IsLinkOrJunction(ending.paths.folder)) return Stop(OutcomeKind::LinkFolder, std::move(ending));

        // Every byte of the project, made now: the GUID first, as it comes
        // before the code template is read.
        GenerationPlan plan;
        plan.outputRoot = outputRoot;
        plan.name = ending.name;
        plan.paths = ending.paths;
        plan.templates = &host.Templates();
        plan.recordVersion = host.RecordVersion();
        plan.guid = NewGuidText();
        plan.forms = ProjectNameFormsFor(*plan.templates, plan.name);
        plan.textFiles = ProjectTextFiles(*plan.templates, plan.forms, plan.guid);

        ending.tooLong = FirstProjectPathTooLong(plan);
        if (!ending.tooLong.fits) return Stop(OutcomeKind::NameTooLong, std::move(ending));

        plan.regenerate = DirectoryExists(ending.paths.folder);
        if (plan.regenerate) {
            // Looked at before the question: OK is never asked for what
            // cannot be done.
            ending.blocked = CheckFolderContentsMove(ending.paths.folder);
            if (!ending.blocked.Clear()) return Stop(OutcomeKind::OldFilesKept, std::move(ending));
            if (!dialogs.ConfirmRegeneration(ending.name)) return Stop(OutcomeKind::Kept, std::move(ending));
        }

        planning.plan = std::move(plan);
        planning.ending = std::move(ending);
        return planning;
    } catch (const ConversionError& error) {
        ending.error = error;
        return Stop(OutcomeKind::ConverterFailed, std::move(ending));
    } catch (const KxError& error) {
        ending.error = error;
        return Stop(OutcomeKind::PlanFailed, std::move(ending));
    }
}

}  // namespace kx
