#include "UpdateOutcomeTable.h"

#include <iterator>
#include <vector>

#include "CodePage.h"
#include "PathSplit.h"

namespace kx {

namespace {

struct Words {
    const char* english;
    const char* chinese;
    const char* In(ReportLanguage language) const { return language == ReportLanguage::Chinese ? chinese : english; }
};

// pattern with "{1}", "{2}", ... replaced by the subjects, each once.
std::string Fill(const char* pattern, const std::vector<std::string>& subjects) {
    std::string text = pattern;
    for (std::size_t i = 0; i < subjects.size(); ++i) {
        const std::string mark = "{" + std::to_string(i + 1) + "}";
        const std::size_t at = text.find(mark);
        if (at != std::string::npos) text.replace(at, mark.size(), subjects[i]);
    }
    return text;
}

std::string Shown(const AnsiString& ansi) { return Utf8FromAnsi(ansi); }

std::string InProject(const UpdateOutcome& o, const AnsiString& relativePath) {
    return Shown(o.name + kPathSeparator + relativePath);
}

std::string MoveReason(const MoveCheck& check, ReportLanguage language) {
    static const Words kSomeFile = {"a file", "某个文件"};
    const std::string entry = check.entry.empty() ? kSomeFile.In(language) : Shown(check.entry);
    static const Words kReasons[] = {
        {"", ""},                                                                  // None
        {"the project folder cannot be used", "项目文件夹无法使用"},               // NotAFolder
        {"{1} cannot be read", "{1} 无法读取"},                                    // Unreadable
        {"{1} lies on another mount or behind a link", "{1} 在另一个挂载点上或在链接之后"},  // OtherMount
        {"{1} may not be moved (immutable, or no permission)", "{1} 不能移动（不可更改或没有权限）"},  // Unmovable
        {"{1} is held open by another program (KX with the project open?)",
         "{1} 被另一个程序打开着（KX 正打开这个项目？）"},                           // HeldOpen
        {"no trash can take them", "没有回收站能接收它们"},                          // NoTrash
        {"the only trash for them would lie inside the project", "唯一能用的回收站会在项目文件夹里面"},  // TrashInside
    };
    static_assert(std::size(kReasons) == static_cast<std::size_t>(MoveBlock::TrashInside) + 1,
                  "one reason per MoveBlock, in its order");
    return Fill(kReasons[static_cast<std::size_t>(check.block)].In(language), {entry});
}

std::string RecordReason(RecordProblem problem, ReportLanguage language) {
    static const Words kReasons[] = {
        {"", ""},                                                                     // None
        {"it is no file that can be read", "它不是能读取的文件"},                     // Unreadable
        {"it is not in the record's format", "它的格式不对"},                         // Malformed
        {"a recorded text does not match its hash", "记录的文本与其散列值不符"},      // HashMismatch
        {"it is the record of another project name", "它属于另一个项目名称"},         // OtherProject
    };
    static_assert(std::size(kReasons) == static_cast<std::size_t>(RecordProblem::OtherProject) + 1,
                  "one reason per RecordProblem, in its order");
    return kReasons[static_cast<std::size_t>(problem)].In(language);
}

using Subjects = std::vector<std::string> (*)(const UpdateOutcome&, ReportLanguage);

std::vector<std::string> None(const UpdateOutcome&, ReportLanguage) { return {}; }
std::vector<std::string> Name(const UpdateOutcome& o, ReportLanguage) { return {Shown(o.name)}; }
std::vector<std::string> Folder(const UpdateOutcome& o, ReportLanguage) { return {Shown(o.paths.folder)}; }
std::vector<std::string> Root(const UpdateOutcome& o, ReportLanguage) {
    return {Shown(o.outputRoot), std::to_string(o.systemError)};
}
std::vector<std::string> TooLong(const UpdateOutcome& o, ReportLanguage) { return {Shown(o.tooLong.path)}; }
std::vector<std::string> Record(const UpdateOutcome& o, ReportLanguage language) {
    return {InProject(o, RecordRelativePath()), RecordReason(o.recordProblem, language)};
}
std::vector<std::string> Blocked(const UpdateOutcome& o, ReportLanguage language) {
    return {MoveReason(o.blocked, language)};
}
std::vector<std::string> Error(const UpdateOutcome& o, ReportLanguage) {
    return {o.error ? Shown(o.error->Message()) : std::string()};
}

struct Row {
    UpdateKind kind;
    int exitCode;
    Words words;
    Subjects subjects;
};

// Every ending, once, in the order of UpdateKind.
constexpr Row kRows[] = {
    {UpdateKind::Updated, kExitWritten, {"project \"{1}\" updated", "项目“{1}”已更新"}, Name},
    {UpdateKind::Conflicts, kExitConflicts,
     {"project \"{1}\" updated, with conflicts: each file in conflict is unchanged and its merge with "
      "conflict marks is beside it (.merge); resolve them by hand",
      "项目“{1}”已更新，但有冲突：冲突的文件保持原样，带冲突标记的合并结果在它旁边的 .merge 文件里，请手动解决"},
     Name},
    {UpdateKind::NothingNew, kExitWritten,
     {"nothing new for project \"{1}\": no file was written", "项目“{1}”没有需要更新的内容，未写入任何文件"}, Name},
    {UpdateKind::ConverterFailed, kExitUnchanged,
     {"this system cannot convert code page 936 text (its iconv lacks CP936); nothing was changed",
      "本系统无法转换代码页 936 的文字（iconv 缺少 CP936），未作任何改动"},
     None},
    {UpdateKind::NameEmpty, kExitUsage, {"the project name is empty", "项目名称不能为空"}, None},
    {UpdateKind::NameMalformed, kExitUsage,
     {"\"{1}\" is not the plain name of a project folder", "“{1}”不是项目文件夹的名称"}, Name},
    {UpdateKind::NameNotCreatable, kExitUsage,
     {"\"{1}\" is not a name Windows can use", "“{1}”不是 Windows 能使用的名称"}, Name},
    {UpdateKind::NameTooLong, kExitUsage,
     {"a path the update would write is too long for the file system: {1}; nothing was changed",
      "更新要写的路径超出文件系统的限制：{1}，未作任何改动"},
     TooLong},
    {UpdateKind::NoProject, kExitUnchanged,
     {"there is no project folder {1}; nothing was changed", "项目文件夹 {1} 不存在，未作任何改动"}, Folder},
    {UpdateKind::Busy, kExitUnchanged,
     {"another generation or update is using {1}; try again later. Nothing was changed",
      "另一个生成或更新正在使用 {1}，请稍后再试。未作任何改动"},
     Root},
    {UpdateKind::LockFailed, kExitUnchanged,
     {"cannot lock {1} (system error {2}); nothing was changed", "无法锁定 {1}（系统错误 {2}），未作任何改动"}, Root},
    {UpdateKind::LinkFolder, kExitUnchanged,
     {"{1} is no plain folder (a link or junction); nothing was changed",
      "{1} 不是普通目录（是链接或交接点），未作任何改动"},
     Folder},
    {UpdateKind::RecordUnusable, kExitUnchanged,
     {"the record {1} cannot be used: {2}; nothing was changed (move the .kxgen folder away to update the "
      "project as one without a record)",
      "记录 {1} 无法使用：{2}，未作任何改动（把 .kxgen 文件夹移走，即按没有记录的项目更新）"},
     Record},
    {UpdateKind::FilesUnreadable, kExitUnchanged,
     {"a file of the project cannot be read: {1}; nothing was changed", "项目中的文件无法读取：{1}，未作任何改动"},
     Blocked},
    {UpdateKind::OldFilesKept, kExitUnchanged,
     {"the old versions cannot go to the trash: {1}; nothing was changed",
      "旧版本无法移到回收站：{1}，未作任何改动"},
     Blocked},
    {UpdateKind::PlanFailed, kExitUnchanged, {"{1}; nothing was changed", "{1}，未作任何改动"}, Error},
    {UpdateKind::OldFilesSplit, kExitPartial,
     {"only some old versions went to the trash ({1}): those are in the trash, the others in place; no file "
      "was written",
      "旧版本未能全部移到回收站（{1}）：已移走的在回收站中，其余仍在原处，没有写入任何文件"},
     Blocked},
    {UpdateKind::WriteFailed, kExitPartial,
     {"the update stopped part way: {1}. The old versions of the files it rewrote are in the trash",
      "更新中途停止：{1}。被改写文件的旧版本在回收站中"},
     Error},
};

constexpr bool RowsFollowTheKinds() {
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        if (static_cast<std::size_t>(kRows[i].kind) != i) return false;
    }
    return std::size(kRows) == static_cast<std::size_t>(UpdateKind::WriteFailed) + 1;
}
static_assert(RowsFollowTheKinds(), "one row per ending, in the order of UpdateKind");

}  // namespace

UpdateReport ReportForUpdate(const UpdateOutcome& outcome, ReportLanguage language) {
    const Row& row = kRows[static_cast<std::size_t>(outcome.kind)];
    UpdateReport report;
    report.exitCode = row.exitCode;
    report.failure = row.exitCode != kExitWritten && row.exitCode != kExitConflicts;
    report.message = Fill(row.words.In(language), row.subjects(outcome, language));
    return report;
}

std::string FileLine(const FileUpdate& file, ReportLanguage language) {
    static const Words kLines[] = {
        {"", ""},                                                          // Unchanged
        {"updated: {1}", "已更新：{1}"},                                   // Merged
        {"replaced: {1}", "已替换：{1}"},                                  // Replaced
        {"added: {1}", "已添加：{1}"},                                     // Added
        {"conflict: {1}, {2} region(s); merge beside it: {3}", "冲突：{1}（{2} 处），合并结果：{3}"},  // Conflict
        {"kept, your own copy: {1}", "保留你自己的版本：{1}"},             // KeptOwnCopy
        {"kept, not read (a link, no regular file, or not in its encoding): {1}",
         "保留，未读取（链接、不是普通文件或编码不符）：{1}"},             // KeptUnreadable
        {"stays deleted: {1}", "保持删除：{1}"},                           // DeletedByUser
    };
    static_assert(std::size(kLines) == static_cast<std::size_t>(FileFate::DeletedByUser) + 1,
                  "one line per FileFate, in its order");
    static const Words kYourLineEnds = {" (merged with your line ends)", "（按你的行尾合并）"};
    std::string line = Fill(kLines[static_cast<std::size_t>(file.fate)].In(language),
                            {Shown(file.relativePath), std::to_string(file.conflicts), Shown(file.mergePath)});
    if (!line.empty() && file.lineEndsAsMine) line += kYourLineEnds.In(language);
    return line;
}

std::string OldVersionsLine(const OldFiles& oldFiles, ReportLanguage language) {
    static const Words kTrash = {"old versions moved to: {1}", "旧版本已移到：{1}"};
    static const Words kBin = {"old versions moved to the Recycle Bin", "旧版本已移到回收站"};
    static const Words kPartlyDeleted = {
        "old versions moved to the Recycle Bin; those it could not take were deleted for good with your consent",
        "旧版本已移到回收站；回收站放不下的，已按您的同意永久删除"};
    switch (oldFiles.place) {
        case OldFilesPlace::None: return std::string();
        case OldFilesPlace::Trash: return Fill(kTrash.In(language), {Shown(oldFiles.folder)});
        case OldFilesPlace::RecycleBin: return (oldFiles.someDeletedForGood ? kPartlyDeleted : kBin).In(language);
    }
    return std::string();
}

std::string RecordCreatedLine(const UpdateOutcome& outcome, ReportLanguage language) {
    static const Words kCreated = {"record created: {1}", "已建立记录：{1}"};
    const bool written = outcome.kind == UpdateKind::Updated || outcome.kind == UpdateKind::Conflicts;
    if (!outcome.recordCreated || !written) return std::string();
    return Fill(kCreated.In(language), {InProject(outcome, kRecordFolderName)});
}

std::string DryRunPrefix(ReportLanguage language) {
    return Words{"dry run, nothing was written: ", "试运行，未写入任何文件："}.In(language);
}

}  // namespace kx
