#include "UpdatePlan.h"

#include "AsciiText.h"
#include "CodePage.h"
#include "FileReading.h"
#include "FileSystem.h"
#include "PathLimits.h"
#include "PathSplit.h"
#include "ProjectName.h"
#include "ProjectPaths.h"
#include "Sha256.h"
#include "update/FileMerge.h"
#include "update/LineDiff.h"

namespace kx {

namespace {

constexpr char kMergeSuffix[] = ".merge";

UpdatePlanning Stop(UpdateKind kind, UpdateOutcome ending) {
    ending.kind = kind;
    UpdatePlanning planning;
    planning.ending = std::move(ending);
    return planning;
}

// What is at a path of the project, looked at without following a link on
// the way or at the end.
struct Found {
    EntryType type = EntryType::Missing;
    bool folderThere = true;           // Missing: the folder it would be in stands
    std::optional<std::string> bytes;  // a regular file, read
};

Found LookAt(const AnsiString& folder, const AnsiString& relativePath) {
    Found found;
    // Each folder on the way, split by GBK characters: the 5C of 乗 is none.
    for (const GbkChar c : GbkChars(relativePath)) {
        if (!c.Is(kPathSeparator)) continue;
        const EntryType level = EntryTypeOf(folder + kPathSeparator + relativePath.substr(0, c.offset));
        if (level == EntryType::Folder) continue;
        found.type = level == EntryType::Missing ? EntryType::Missing : EntryType::Link;
        found.folderThere = false;
        return found;
    }
    const AnsiString path = folder + kPathSeparator + relativePath;
    found.type = EntryTypeOf(path);
    if (found.type != EntryType::File) return found;
    FileContents contents = ReadFileContents(path);
    if (contents.outcome == ReadOutcome::Read) found.bytes = std::move(contents.bytes);
    return found;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// The GUID of the main script's line var MyGUID="{...}" (the first such
// line, wherever the user moved it); empty when there is none.
AnsiString GuidInScript(const std::string& bytes) {
    constexpr std::string_view kStart = "var MyGUID=\"";
    constexpr std::string_view kShape = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
    update::MergeText text;
    update::DecodeForMerge(bytes, TextEncoding::Utf8, text);
    for (const std::string_view line : update::SplitLines(text.text)) {
        if (line.substr(0, kStart.size()) != kStart || line.size() < kStart.size() + kShape.size() + 1) continue;
        const std::string_view guid = line.substr(kStart.size(), kShape.size());
        bool shaped = line[kStart.size() + kShape.size()] == '"';
        for (std::size_t i = 0; shaped && i < kShape.size(); ++i) {
            shaped = kShape[i] == 'X' ? IsHexDigit(guid[i]) : guid[i] == kShape[i];
        }
        if (shaped) return AsGbk(guid);
    }
    return AnsiString();
}

// The old record, when the project has one that can be used.
RecordProblem ReadOldRecord(const AnsiString& folder, std::optional<ProjectRecord>& record) {
    const AnsiString recordFolder = folder + kPathSeparator + kRecordFolderName;
    const EntryType folderType = EntryTypeOf(recordFolder);
    if (folderType == EntryType::Missing) return RecordProblem::None;
    const AnsiString path = folder + kPathSeparator + RecordRelativePath();
    const EntryType fileType = folderType == EntryType::Folder ? EntryTypeOf(path) : EntryType::Other;
    if (fileType == EntryType::Missing) return RecordProblem::None;
    if (fileType != EntryType::File) return RecordProblem::Unreadable;
    const FileContents contents = ReadFileContents(path);
    if (contents.outcome != ReadOutcome::Read) return RecordProblem::Unreadable;
    record.emplace();
    const RecordProblem problem = ParseRecord(contents.bytes, *record);
    if (problem != RecordProblem::None) record.reset();
    return problem;
}

std::string Labelled(const char* side, const AnsiString& relativePath) {
    return std::string(side) + PortableRelativePath(relativePath);
}

// The diff a dry run shows for a text file that would be written.
std::string TextDiff(const std::string& before, const std::string& after, const AnsiString& from,
                     const AnsiString& to) {
    return update::UnifiedDiff(before, after, Labelled("a/", from), Labelled("b/", to));
}

class Planner {
public:
    Planner(const UpdateRequest& request, UpdateOutcome& ending, UpdatePlan& plan,
            const std::optional<ProjectRecord>& old)
        : request_(request), ending_(ending), plan_(plan), old_(old) {}

    void PlanDll(const std::string& theirs) {
        FileUpdate file;
        file.relativePath = DllRelativePath();
        const Found mine = LookAt(plan_.folder, file.relativePath);
        // What was generated: the record's DLL; without a record the
        // program's own.
        std::optional<std::string> baseHash;
        if (!old_) baseHash = Sha256Hex(BuiltInTemplates().DllBytes());
        if (old_ && old_->dll) baseHash = old_->dll->hash;
        if (mine.type == EntryType::Missing) {
            file.fate = !baseHash && mine.folderThere ? FileFate::Added : FileFate::DeletedByUser;
        } else if (!mine.bytes) {
            file.fate = Unread(mine, file.relativePath);
        } else if (*mine.bytes == theirs) {
            file.fate = FileFate::Unchanged;
        } else if (baseHash && Sha256Hex(*mine.bytes) == *baseHash) {
            file.fate = FileFate::Replaced;
        } else {
            file.fate = FileFate::KeptOwnCopy;
        }
        if (file.fate == FileFate::Replaced || file.fate == FileFate::Added) {
            if (file.fate == FileFate::Replaced) plan_.toTrash.push_back(file.relativePath);
            plan_.writes.push_back({file.relativePath, theirs});
            if (request_.dryRun) {
                file.diff = "Binary files " + Labelled("a/", file.relativePath) + " and " +
                            Labelled("b/", file.relativePath) + " differ\n";
            }
        }
        // A DLL the update did not bring up to the templates keeps what was
        // generated as its base: should the user's own copy go, the next
        // update replaces the generated one again.
        const bool broughtUp = file.fate != FileFate::KeptOwnCopy && file.fate != FileFate::KeptUnreadable &&
                               file.fate != FileFate::DeletedByUser;
        if (broughtUp) {
            dll_ = RecordedFile{file.relativePath, Sha256Hex(theirs), std::string()};
        } else if (baseHash) {
            dll_ = RecordedFile{file.relativePath, *baseHash, std::string()};
        }
        ending_.files.push_back(std::move(file));
    }

    void PlanText(const ProjectTextFile& theirs) {
        FileUpdate file;
        file.relativePath = theirs.relativePath;
        const Found mine = LookAt(plan_.folder, file.relativePath);
        const RecordedFile* recorded = old_ ? old_->TextAt(file.relativePath) : nullptr;
        // Without a record, what the templates give now stands for what was
        // generated: a file that differs from it is the user's.
        const bool generated = !old_ || recorded != nullptr;
        const std::string& base = recorded ? recorded->bytes : old_ ? kNothing : theirs.bytes;
        file.fate = MergeText(file, mine, generated, base, theirs);
        // The record takes what the templates give now for every file the
        // update brought up to them (a conflict too: its merge is beside it
        // now). A file it could not read or that the user deleted keeps its
        // old base, so that a later update still brings the templates'
        // changes to it once it is back.
        const bool broughtUp = file.fate != FileFate::KeptUnreadable && file.fate != FileFate::DeletedByUser;
        const std::string& recordedBytes = broughtUp ? theirs.bytes : base;
        if (!recordedBytes.empty()) {
            texts_.push_back({file.relativePath, recordedBytes, theirs.encoding});
        }
        ending_.files.push_back(std::move(file));
    }

    // The record the update leaves: the files' bases as decided above.
    ProjectRecord NextRecord(const ProjectNameForms& forms, const AnsiString& guid) const {
        ProjectRecord record = RecordOf(request_.programVersion, forms, guid, TemplateFingerprint(*request_.templates),
                                        texts_, std::string());
        record.dll = dll_;
        return record;
    }

    // Regular files that could not be read (held open, no permission): the
    // update cannot know what they hold and stops.
    const std::vector<AnsiString>& Unreadable() const { return unreadable_; }

private:
    FileFate MergeText(FileUpdate& file, const Found& mine, bool generated, const std::string& base,
                       const ProjectTextFile& theirs) {
        if (mine.type == EntryType::Missing) {
            if (generated || !mine.folderThere) return FileFate::DeletedByUser;
            plan_.writes.push_back({file.relativePath, theirs.bytes});
            if (request_.dryRun) file.diff = TextDiff("", Decoded(theirs), file.relativePath, file.relativePath);
            return FileFate::Added;
        }
        if (!mine.bytes) return Unread(mine, file.relativePath);
        const update::MergeLabels labels{Labelled("yours: ", file.relativePath), "generated", "templates"};
        const update::FileMergeResult merged =
            update::MergeFile(base, *mine.bytes, theirs.bytes, theirs.encoding, labels);
        file.lineEndsAsMine = merged.lineEndsAsMine;
        switch (merged.verdict) {
            case update::MergeVerdict::Undecodable:
                return FileFate::KeptUnreadable;
            case update::MergeVerdict::Clean:
                if (merged.bytes == *mine.bytes) return FileFate::Unchanged;
                plan_.toTrash.push_back(file.relativePath);
                plan_.writes.push_back({file.relativePath, merged.bytes});
                if (request_.dryRun) {
                    file.diff = TextDiff(merged.mineText, merged.resultText, file.relativePath, file.relativePath);
                }
                return FileFate::Merged;
            case update::MergeVerdict::Conflict:
                PlanConflict(file, merged);
                return FileFate::Conflict;
        }
        return FileFate::KeptUnreadable;
    }

    // A link or no regular file is left alone; a regular file that could not
    // be read stops the update.
    FileFate Unread(const Found& mine, const AnsiString& relativePath) {
        if (mine.type == EntryType::File) unreadable_.push_back(relativePath);
        return FileFate::KeptUnreadable;
    }

    // The user's file stays byte for byte; the merge with its marks goes
    // beside it, replacing only an earlier merge (through the trash).
    void PlanConflict(FileUpdate& file, const update::FileMergeResult& merged) {
        file.conflicts = merged.conflicts;
        file.mergePath = file.relativePath + kMergeSuffix;
        const Found earlier = LookAt(plan_.folder, file.mergePath);
        if (earlier.bytes && *earlier.bytes == merged.bytes) return;  // there already, as it would be
        if (earlier.type != EntryType::Missing) plan_.toTrash.push_back(file.mergePath);
        plan_.writes.push_back({file.mergePath, merged.bytes});
        if (request_.dryRun) file.diff = TextDiff(merged.mineText, merged.resultText, file.relativePath, file.mergePath);
    }

    static std::string Decoded(const ProjectTextFile& file) {
        update::MergeText text;
        update::DecodeForMerge(file.bytes, file.encoding, text);
        return text.text;
    }

    static const std::string kNothing;
    const UpdateRequest& request_;
    UpdateOutcome& ending_;
    UpdatePlan& plan_;
    const std::optional<ProjectRecord>& old_;
    std::vector<ProjectTextFile> texts_;
    std::optional<RecordedFile> dll_;
    std::vector<AnsiString> unreadable_;
};

const std::string Planner::kNothing;

// The first path the update writes that does not fit its file system.
PathFit WrittenPathTooLong(const AnsiString& outputRoot, const AnsiString& name, const UpdatePlan& plan) {
    std::vector<PathBelow> paths = RecordPathsBelow(name);
    for (const PlannedWrite& write : plan.writes) paths.push_back({name + kPathSeparator + write.relativePath, false});
    return FirstPathTooLong(outputRoot, paths);
}

}  // namespace

UpdatePlanning PlanUpdate(const UpdateRequest& request) {
    UpdateOutcome ending;
    ending.dryRun = request.dryRun;
    ending.outputRoot = request.outputRoot;
    try {
        try {
            EnsureCodePage();
        } catch (const ConversionError& error) {
            ending.error = error;
            return Stop(UpdateKind::ConverterFailed, std::move(ending));
        }
        ending.name = TrimName(request.name);
        switch (CheckProjectName(ending.name)) {
            case NameVerdict::Empty: return Stop(UpdateKind::NameEmpty, std::move(ending));
            case NameVerdict::Malformed: return Stop(UpdateKind::NameMalformed, std::move(ending));
            case NameVerdict::Usable: break;
        }
        ending.nameRule = BrokenWindowsNameRule(ending.name);
        if (ending.nameRule != WindowsNameRule::None) return Stop(UpdateKind::NameNotCreatable, std::move(ending));
        ending.paths = ProjectPathsFor(request.outputRoot, ending.name);

        // From the first look at the project to the record, as a generation.
        UpdatePlanning planning;
        if (!request.dryRun) {
            planning.lock.emplace(GenerationLock::Take(request.outputRoot));
            if (planning.lock->State() == LockState::Busy) return Stop(UpdateKind::Busy, std::move(ending));
            if (planning.lock->State() != LockState::Held) {
                ending.systemError = planning.lock->SystemError();
                return Stop(UpdateKind::LockFailed, std::move(ending));
            }
        }
        const AnsiString& folder = ending.paths.folder;
        if (IsLinkOrJunction(folder)) return Stop(UpdateKind::LinkFolder, std::move(ending));
        if (!DirectoryExists(folder)) return Stop(UpdateKind::NoProject, std::move(ending));

        std::optional<ProjectRecord> old;
        ending.recordProblem = ReadOldRecord(folder, old);
        // The record names the project it belongs to; a name that differs in
        // ASCII letter case only is the same folder on Windows, and the
        // recorded one is the project's own.
        if (old && !EqualsIgnoringAsciiCase(old->forms.typed, ending.name)) {
            ending.recordProblem = RecordProblem::OtherProject;
        }
        if (ending.recordProblem != RecordProblem::None) return Stop(UpdateKind::RecordUnusable, std::move(ending));
        ending.recordCreated = !old;

        const ProjectNameForms forms = old ? old->forms : ProjectNameFormsFor(*request.templates, ending.name);
        const Found mainScript = LookAt(folder, forms.typed + kPathSeparator + forms.typed + ".kx");
        AnsiString guid = mainScript.bytes ? GuidInScript(*mainScript.bytes) : AnsiString();
        if (guid.empty() && old) guid = old->guid;
        if (guid.empty()) guid = NewGuidText();

        UpdatePlan plan;
        plan.folder = folder;
        const std::vector<ProjectTextFile> theirs = ProjectTextFiles(*request.templates, forms, guid);
        const std::string theirsDll = request.templates->DllBytes();
        Planner planner(request, ending, plan, old);
        if (!theirsDll.empty()) planner.PlanDll(theirsDll);
        for (const ProjectTextFile& file : theirs) planner.PlanText(file);

        if (!planner.Unreadable().empty()) {
            // Why, where the trash's check can tell (held open on Windows).
            ending.blocked = CheckFilesToTrash(folder, planner.Unreadable());
            if (ending.blocked.Clear()) ending.blocked = {MoveBlock::Unreadable, planner.Unreadable().front(), 0};
            return Stop(UpdateKind::FilesUnreadable, std::move(ending));
        }
        const ProjectRecord next = planner.NextRecord(forms, guid);
        if (!old || !old->SameFilesAs(next)) plan.record = next;
        bool conflicts = false;
        for (const FileUpdate& file : ending.files) conflicts = conflicts || file.fate == FileFate::Conflict;
        ending.kind = conflicts ? UpdateKind::Conflicts
                      : plan.writes.empty() && !plan.record ? UpdateKind::NothingNew
                                                            : UpdateKind::Updated;

        ending.tooLong = WrittenPathTooLong(request.outputRoot, ending.name, plan);
        if (!ending.tooLong.fits) return Stop(UpdateKind::NameTooLong, std::move(ending));
        if (!plan.toTrash.empty()) {
            ending.blocked = CheckFilesToTrash(folder, plan.toTrash);
            if (!ending.blocked.Clear()) return Stop(UpdateKind::OldFilesKept, std::move(ending));
        }

        planning.plan = std::move(plan);
        planning.ending = std::move(ending);
        return planning;
    } catch (const ConversionError& error) {
        ending.error = error;
        return Stop(UpdateKind::ConverterFailed, std::move(ending));
    } catch (const KxError& error) {
        ending.error = error;
        return Stop(UpdateKind::PlanFailed, std::move(ending));
    }
}

}  // namespace kx
