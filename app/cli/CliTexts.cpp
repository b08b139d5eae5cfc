#include "CliTexts.h"

#include <cstring>

#include "TableOrder.h"

namespace kx::cli {

namespace {

struct Row {
    Text id;
    const char* text[kLanguages];  // English, Chinese
};

// One row per Text, in the order of the enumeration. A placeholder appears
// in both languages of a row or in neither.
constexpr Row kRows[] = {
    {Text::Synopsis,
     {"Usage: kxgen [NAME|--name NAME] [--root DIR] [--templates DIR] [-y|--yes]\n"
      "             [-q|--quiet] [--no-open]\n"
      "       kxgen --update NAME [--root DIR] [--templates DIR] [--dry-run]\n"
      "       kxgen --export-templates DIR [--force]\n"
      "       kxgen --check-templates DIR\n"
      "       kxgen -V|--version\n"
      "       kxgen -h|--help\n",
      "用法：kxgen [名称|--name 名称] [--root 文件夹] [--templates 文件夹] [-y|--yes]\n"
      "            [-q|--quiet] [--no-open]\n"
      "      kxgen --update 名称 [--root 文件夹] [--templates 文件夹] [--dry-run]\n"
      "      kxgen --export-templates 文件夹 [--force]\n"
      "      kxgen --check-templates 文件夹\n"
      "      kxgen -V|--version\n"
      "      kxgen -h|--help\n"}},
    {Text::TryHelp, {"Try 'kxgen --help'.\n", "用 kxgen --help 查看用法。\n"}},
    {Text::HelpIntro,
     {"Writes a new KX project, as the Windows program's Generate button does, and\n"
      "prints the tree it wrote.\n",
      "像 Windows 程序的“生成KX项目”按钮一样写出一个新的 KX 项目，\n"
      "并显示写出的文件树。\n"}},
    {Text::HelpOptionsHeading, {"Options:\n", "选项：\n"}},
    {Text::HelpNotes,
     {"Short options combine (-yq). A value follows its option or an \"=\"\n"
      "(--root DIR, --root=DIR). After \"--\" every argument is a name, even one that\n"
      "starts with \"-\". Messages go to standard error; the tree, or with --quiet\n"
      "the path, goes to standard output.\n",
      "短选项可以合写（-yq）。选项的值跟在选项或“=”后面（--root 文件夹、\n"
      "--root=文件夹）。“--”之后的参数都是名称，以“-”开头的也是。\n"
      "提示写到标准错误；文件树（--quiet 时是路径）写到标准输出。\n"}},
    {Text::HelpClosing,
     {"Examples:\n"
      "  kxgen demo\n"
      "      writes the project demo into KX项目 here and opens demo.kxproj\n"
      "  kxgen demo --root projects --yes --quiet --no-open\n"
      "      regenerates projects/demo without asking; prints only the path of\n"
      "      demo.kxproj\n"
      "  kxgen --update demo --templates my-templates --dry-run\n"
      "      shows what bringing demo up to the templates in my-templates would\n"
      "      change\n"
      "\n"
      "Exit status:\n"
      "  0  the project was written\n"
      "  1  stopped before any change, with a message\n"
      "  2  a wrong command line, or a name that cannot be used\n"
      "  3  the project exists and was not regenerated (see --yes)\n"
      "  4  stopped part way; the message says what was done\n"
      "  5  the project was written, but kxgen could not write its output\n"
      "  6  the project was updated, but some files conflict: each is unchanged,\n"
      "     its merge with conflict marks beside it\n",
      "示例：\n"
      "  kxgen demo\n"
      "      在当前文件夹下的 KX项目 里生成项目 demo，并打开 demo.kxproj\n"
      "  kxgen demo --root 项目 --yes --quiet --no-open\n"
      "      不询问，直接重新生成 项目/demo，只显示 demo.kxproj 的路径\n"
      "  kxgen --update demo --templates 我的模板 --dry-run\n"
      "      显示按 我的模板 更新 demo 会改动什么\n"
      "\n"
      "退出码：\n"
      "  0  项目已写好\n"
      "  1  在任何改动之前因一条提示而停止\n"
      "  2  命令行有误，或名称不能使用\n"
      "  3  项目已存在，没有重新生成（见 --yes）\n"
      "  4  中途停止；提示说明已做了什么\n"
      "  5  项目已写好，但 kxgen 的输出无法写出\n"
      "  6  项目已更新，但有冲突：冲突的文件保持原样，带冲突标记的合并结果在它旁边\n"}},
    {Text::NamePlaceholder, {"NAME", "名称"}},
    {Text::FolderPlaceholder, {"DIR", "文件夹"}},
    {Text::UnknownOption, {"unknown option: {option}", "未知选项：{option}"}},
    {Text::MissingValue, {"{option} needs a value", "{option} 后面缺少值"}},
    {Text::UnexpectedValue, {"{option} takes no value", "{option} 不带值"}},
    {Text::EmptyFolder, {"{option} needs a folder", "{option} 需要一个文件夹"}},
    {Text::NameTwice, {"more than one project name: {name}", "项目名称多于一个：{name}"}},
    {Text::CommandsTogether,
     {"{option}: only one of --export-templates, --check-templates and --templates may be given",
      "{option}：--export-templates、--check-templates 和 --templates 只能用一个"}},
    {Text::ForceAlone, {"--force goes only with --export-templates", "--force 只能与 --export-templates 一起用"}},
    {Text::UpdateOptions,
     {"{option}: --update goes with --root, --templates and --dry-run only, and --dry-run only with --update",
      "{option}：--update 只能与 --root、--templates 和 --dry-run 一起用，--dry-run 只能与 --update 一起用"}},
    {Text::ArgumentNotInCharset,
     {"the argument \"{text}\" holds {bytes}, which is not {charset} text",
      "参数“{text}”中的 {bytes} 不是 {charset} 文字"}},
    {Text::TypedNotInCharset,
     {"the line typed, \"{text}\", holds {bytes}, which is not {charset} text",
      "输入的“{text}”中的 {bytes} 不是 {charset} 文字"}},
    {Text::NameUnencodable,
     {"the name \"{name}\" has characters that code page 936 cannot hold",
      "名称“{name}”含有代码页 936 无法表示的字符"}},
    {Text::FolderUnencodable,
     {"the folder \"{path}\" has characters that code page 936 cannot hold",
      "文件夹“{path}”含有代码页 936 无法表示的字符"}},

    {Text::NamePrompt, {"Name of the new KX project [{proposed}]: ", "新 KX 项目的名称 [{proposed}]："}},
    {Text::RegenerateQuestion,
     {"{folder} exists. Regenerate it (its old files go to the trash)? [y/N] ",
      "{folder} 已存在。重新生成吗（旧文件移到回收站）？[y/N] "}},

    {Text::Because, {": {reason}", "：{reason}"}},
    {Text::UnitBytes, {"bytes", "字节"}},
    {Text::UnitCharacters, {"characters", "个字符"}},
    {Text::Kept,
     {"{folder} exists and was kept; run again with --yes to regenerate it",
      "{folder} 已存在，未作改动；加 --yes 再运行即可重新生成"}},
    {Text::ConverterFailed,
     {"this system cannot convert text of code page 936 (GBK); nothing was changed",
      "本系统无法转换代码页 936 (GBK) 的文字，未作任何改动"}},
    {Text::RootFailed, {"cannot create the output folder {root}{because}", "无法创建输出文件夹 {root}{because}"}},
    {Text::RootFailedDefault,
     {"cannot create the output folder {root}{because}; choose another place with --root DIR",
      "无法创建输出文件夹 {root}{because}；请用 --root 文件夹 另选位置"}},
    {Text::NameEmpty, {"the project name is empty", "项目名称不能为空"}},
    {Text::NameMalformed,
     {"\"{name}\" is not a bare folder name: it may not hold \\ / or :, be dots only or end with a dot",
      "“{name}”不是单纯的文件夹名：不能含 \\ / :，不能只由点组成，也不能以点结尾"}},
    {Text::NameForbiddenCharacter,
     {"\"{name}\" cannot be used: Windows allows none of < > : \" / \\ | ? * and no control characters in a name",
      "“{name}”不能使用：Windows 的名称里不能有 < > : \" / \\ | ? * 和控制字符"}},
    {Text::NameTrailingDotOrSpace,
     {"\"{name}\" cannot be used: Windows drops a dot or space at the end of a name and would open another folder",
      "“{name}”不能使用：Windows 会去掉名称末尾的点或空格，打开的将是另一个文件夹"}},
    {Text::NameReservedDevice,
     {"\"{name}\" cannot be used: it is a device name Windows reserves (CON, PRN, AUX, NUL, COM1-COM9, "
      "LPT1-LPT9, also with an extension)",
      "“{name}”不能使用：这是 Windows 保留的设备名（CON、PRN、AUX、NUL、COM1-COM9、LPT1-LPT9，"
      "带扩展名也一样）"}},
    {Text::NameUndefinedCharacter,
     {"\"{name}\" cannot be used: it holds bytes that code page 936 defines no character for",
      "“{name}”不能使用：含有代码页 936 没有定义的字节"}},
    {Text::NameNotForWindows,
     {"\"{name}\" cannot be used: Windows cannot create it", "“{name}”不能使用：Windows 无法创建这个名称"}},
    {Text::NameComponentTooLong,
     {"\"{name}\" is too long: a name in {path} has {length} {unit}, the file system allows {limit}",
      "“{name}”太长：{path} 中的一个名称有 {length} {unit}，文件系统最多允许 {limit}"}},
    {Text::NamePathTooLong,
     {"\"{name}\" is too long: the path {path} would have {length} {unit}, the file system allows {limit}",
      "“{name}”太长：路径 {path} 会有 {length} {unit}，文件系统最多允许 {limit}"}},
    {Text::Busy,
     {"another generation is using {root}; try again later (nothing was changed)",
      "另一个生成正在使用 {root}，请稍后再试（未作任何改动）"}},
    {Text::LockFailed,
     {"cannot lock {root} for this generation: the lock file {lock} cannot be made or opened{because}; "
      "nothing was changed",
      "无法锁定 {root}：锁文件 {lock} 无法创建或打开{because}，未作任何改动"}},
    {Text::LinkFolder,
     {"{folder} is a link or junction, not a folder; kxgen does not follow it, nothing was changed",
      "{folder} 不是普通目录（是链接或交接点），kxgen 不会跟随它，未作任何改动"}},
    {Text::OldFilesNotAFolder,
     {"the old files in {folder} cannot go to the trash: the folder is missing or a link{because}; "
      "nothing was changed",
      "{folder} 中的旧文件无法移到回收站：文件夹不存在或是链接{because}，未作任何改动"}},
    {Text::OldFilesUnreadable,
     {"cannot read {entry}{because}, so the old files cannot go to the trash; nothing was changed",
      "无法读取 {entry}{because}，旧文件无法移到回收站，未作任何改动"}},
    {Text::OldFilesOtherMount,
     {"{entry} is another file system (a mount point or volume), so the old files cannot go to the trash; "
      "nothing was changed",
      "{entry} 是另一个文件系统（挂载点或卷），旧文件无法移到回收站，未作任何改动"}},
    {Text::OldFilesUnmovable,
     {"{entry} may not be moved (immutable, append-only, or the permissions forbid it){because}, so the old "
      "files cannot go to the trash; nothing was changed",
      "{entry} 不允许移动（不可更改、只可追加，或权限不允许）{because}，旧文件无法移到回收站，未作任何改动"}},
    {Text::OldFilesHeldOpen,
     {"{entry} is in use by another program, so the old files cannot go to the trash; nothing was changed. "
      "Close it (in KX, close the project) and generate again",
      "{entry} 正被另一个程序使用，旧文件无法移到回收站，未作任何改动。"
      "请先关闭它（例如在 KX 中关闭这个项目）再重新生成"}},
    {Text::OldFilesNoTrash,
     {"no trash can take the old files in {folder}{because}; nothing was changed",
      "没有回收站能接收 {folder} 中的旧文件{because}，未作任何改动"}},
    {Text::OldFilesTrashInside,
     {"{folder} is a mount point whose trash could only be inside it, so the old files cannot go to the "
      "trash; nothing was changed",
      "{folder} 是一个挂载点，它的回收站只能建在它自己里面，旧文件无法移到回收站，未作任何改动"}},
    {Text::PlanFailed, {"generation stopped before any change: {error}", "生成在任何改动之前停止：{error}"}},
    {Text::ProjectFolderFailed,
     {"cannot create the project folder {folder}{because}; nothing was changed",
      "无法创建项目文件夹 {folder}{because}，未作任何改动"}},
    {Text::OldFilesSplit,
     {"only some of the old files in {folder} went to the trash{because}; those moved are in the trash, "
      "the rest are still in place",
      "{folder} 中的旧文件未能全部移到回收站{because}；已移走的在回收站中，其余仍在原处"}},
    {Text::FolderFailedPartWay,
     {"cannot create the folder {path}{because}; generation stopped part way, what was done stays",
      "无法创建文件夹 {path}{because}，生成中途停止，已做的保留"}},
    {Text::FileNotCreatedPartWay,
     {"cannot create the file {path}{because}; generation stopped part way, the files written so far stay",
      "无法创建文件 {path}{because}，生成中途停止，已写好的文件保留"}},
    {Text::FileNotWrittenPartWay,
     {"{path} could not be written whole (is the disk full?); generation stopped part way, the files "
      "written so far stay",
      "{path} 没能写完（磁盘满了吗？），生成中途停止，已写好的文件保留"}},
    {Text::WriteFailedPartWay, {"generation stopped part way: {error}", "生成中途停止：{error}"}},

    {Text::OldFilesInTrash, {"the old files are in the trash: {folder}", "旧文件已移到回收站：{folder}"}},
    {Text::OldFilesInRecycleBin, {"the old files are in the Recycle Bin", "旧文件已移到回收站"}},
    {Text::OldFilesPartlyDeleted,
     {"the old files are in the Recycle Bin; those it could not take were deleted for good, as you agreed",
      "旧文件已移到回收站；回收站放不下的，已按您的同意永久删除"}},
    {Text::OpenFailed,
     {"could not ask {program} to open the project{because}; open {path} yourself",
      "无法请 {program} 打开项目{because}，请自行打开 {path}"}},

    {Text::TemplateFolderMissing, {"the template folder {folder} does not exist", "模板文件夹 {folder} 不存在"}},
    {Text::FileExists, {"{path} exists", "{path} 已存在"}},
    {Text::NothingWrittenUseForce,
     {"nothing was written; add --force to overwrite these files", "没有写入任何文件；要覆盖这些文件请加 --force"}},
    {Text::Exported,
     {"the built-in templates are in {folder}; edit them and generate with --templates {folder}",
      "内置模板已导出到 {folder}；修改后用 --templates {folder} 生成项目"}},
    {Text::ExportPathIsFile,
     {"{folder} is a file, not a folder; nothing was written", "{folder} 是一个文件，不是文件夹，没有写入任何文件"}},
    {Text::ExportFolderFailed,
     {"cannot create the folder {folder}{because}; nothing was written",
      "无法创建文件夹 {folder}{because}，没有写入任何文件"}},
    {Text::ExportTemplateMissing,
     {"this kxgen lacks its built-in template {file}; nothing was written",
      "本程序缺少内置模板 {file}，没有写入任何文件"}},
    {Text::ExportDllFailed,
     {"cannot write {path} (missing from this kxgen, or the file cannot be created)",
      "无法写出 {path}（程序里缺少它，或文件无法创建）"}},
    {Text::ExportGuideFailed, {"cannot write {path}", "无法写出 {path}"}},
    {Text::ExportFileNotCreated, {"cannot create the file {path}{because}", "无法创建文件 {path}{because}"}},
    {Text::ExportFileNotWritten,
     {"{path} could not be written whole (is the disk full?)", "{path} 没能写完（磁盘满了吗？）"}},
    {Text::CheckFindings,
     {"the templates have {refusals} error(s) and {warnings} warning(s)",
      "模板检查：{refusals} 个错误，{warnings} 个警告"}},
    {Text::CheckClean,
     {"the templates in {folder} are fine; a generation takes {files} from there",
      "{folder} 里的模板没有问题；生成时取自该文件夹的文件：{files}"}},
    {Text::TemplatesRefused, {"the templates have errors; nothing was written", "模板有误，没有写入任何文件"}},
    {Text::FindingRefusal, {"{where}: error: {message}", "{where}: 错误：{message}"}},
    {Text::FindingWarning, {"{where}: warning: {message}", "{where}: 警告：{message}"}},
    {Text::FindingEmpty,
     {"the file is empty: the project would lack this file", "文件是空的：生成的项目会缺少这个文件"}},
    {Text::FindingNotUtf8,
     {"not UTF-8 text (the first invalid byte is {byte}): was it saved as ANSI/GBK? Save it as UTF-8",
      "不是 UTF-8 文本（第一个无效字节 {byte}）：文件是否按 ANSI/GBK 保存了？请另存为 UTF-8"}},
    {Text::FindingNul, {"holds a NUL byte (0x00)", "含有 NUL 字节（0x00）"}},
    {Text::FindingNotInCodePage,
     {"characters code page 936 (GBK) cannot hold: {characters}", "代码页 936 (GBK) 无法表示的字符：{characters}"}},
    {Text::FindingLineNotInCodePage,
     {"this line cannot be kept as it is in code page 936 (GBK)", "这一行无法按代码页 936 (GBK) 原样保存"}},
    {Text::FindingStrayDollar,
     {"the \"$\" in column {column} is no part of $ProjectName$ and is written as it is",
      "第 {column} 列的“$”不属于 $ProjectName$，将原样写入"}},
    {Text::FindingPlaceholderKept,
     {"the $ProjectName$ in column {column} is not replaced: this file is written as it is",
      "第 {column} 列的 $ProjectName$ 不会被替换：这个文件原样写入"}},
    {Text::FindingLineEnds,
     {"line ends other than CR LF (the first on this line); a project gets CR LF",
      "行尾不是 CR LF（第一处在这一行）；生成的项目里一律是 CR LF"}},
    {Text::FindingMoreLines, {"... and {count} more lines with the same problem", "……另有 {count} 行有同样的问题"}},
    {Text::FindingUnreadable,
     {"cannot be read (a folder, no permission, or in use?)", "无法读取（是文件夹、没有权限或被占用？）"}},
    {Text::FindingNotPointPicker,
     {"not a 32-bit DLL exporting ordinals 1 and 2 ({why}): a project would fail the first time it picks a point",
      "不是导出序号 1 和 2 的 32 位 DLL（{why}）：生成的项目在第一次取点时就会出错"}},
    {Text::FindingNoTemplateFiles,
     {"the folder holds no template files (main-script.kx, public-library.kx, ...)",
      "文件夹里没有模板文件（main-script.kx、public-library.kx 等）"}},
    {Text::DllNotPe, {"its 32-bit PE structure cannot be read", "读不出 32 位 PE 文件的结构"}},
    {Text::DllNotX86, {"not a 32-bit (x86) image", "不是 32 位 (x86) 映像"}},
    {Text::DllNotDll, {"not a DLL", "不是 DLL"}},
    {Text::DllMissingOrdinal, {"ordinal {ordinal} is not exported", "没有导出序号 {ordinal}"}},
    {Text::ListSeparator, {", ", "、"}},

    {Text::UpdateBusy,
     {"another generation or update is using {root}; try again later (nothing was changed)",
      "另一个生成或更新正在使用 {root}，请稍后再试（未作任何改动）"}},
    {Text::UpdateDone, {"project \"{name}\" updated", "项目“{name}”已更新"}},
    {Text::UpdateConflicts,
     {"project \"{name}\" updated, with conflicts: each file in conflict is unchanged and its merge with "
      "conflict marks is beside it (.merge); resolve them by hand",
      "项目“{name}”已更新，但有冲突：冲突的文件保持原样，带冲突标记的合并结果在它旁边的 .merge 文件里，请手动解决"}},
    {Text::UpdateNothingNew,
     {"nothing new for project \"{name}\": no file was written", "项目“{name}”没有需要更新的内容，未写入任何文件"}},
    {Text::UpdateNoProject,
     {"there is no project folder {folder}; nothing was changed", "项目文件夹 {folder} 不存在，未作任何改动"}},
    {Text::UpdateRecordUnusable,
     {"the record {record} cannot be used: {why}; nothing was changed (move the .kxgen folder away to update "
      "the project as one without a record)",
      "记录 {record} 无法使用：{why}，未作任何改动（把 .kxgen 文件夹移走，即按没有记录的项目更新）"}},
    {Text::RecordUnreadable, {"it is no file that can be read", "它不是能读取的文件"}},
    {Text::RecordMalformed, {"it is not in the record's format", "它的格式不对"}},
    {Text::RecordHashMismatch, {"a recorded text does not match its hash", "记录的文本与其散列值不符"}},
    {Text::RecordOtherProject, {"it is the record of another project name", "它属于另一个项目名称"}},
    {Text::UpdateFileUnreadable,
     {"cannot read {entry}{because}, so the project cannot be updated; nothing was changed",
      "无法读取 {entry}{because}，项目无法更新，未作任何改动"}},
    {Text::UpdateFileHeldOpen,
     {"{entry} is in use by another program, so the project cannot be updated; nothing was changed. Close it "
      "(in KX, close the project) and update again",
      "{entry} 正被另一个程序使用，项目无法更新，未作任何改动。请先关闭它（例如在 KX 中关闭这个项目）再更新"}},
    {Text::UpdatePlanFailed, {"the update stopped before any change: {error}", "更新在任何改动之前停止：{error}"}},
    {Text::UpdateOldFilesSplit,
     {"only some old versions in {folder} went to the trash{because}; those moved are in the trash, the rest "
      "are still in place, and no file was written",
      "{folder} 中的旧版本未能全部移到回收站{because}；已移走的在回收站中，其余仍在原处，没有写入任何文件"}},
    {Text::UpdateWriteFailed,
     {"the update stopped part way: {error}. The old versions of the files it rewrote are in the trash",
      "更新中途停止：{error}。被改写文件的旧版本在回收站中"}},
    {Text::UpdateDryRun, {"dry run, nothing was written: ", "试运行，未写入任何文件："}},
    {Text::FileMerged, {"updated: {path}", "已更新：{path}"}},
    {Text::FileReplaced, {"replaced: {path}", "已替换：{path}"}},
    {Text::FileAdded, {"added: {path}", "已添加：{path}"}},
    {Text::FileConflict,
     {"conflict: {path}, {count} region(s); merge beside it: {merge}", "冲突：{path}（{count} 处），合并结果：{merge}"}},
    {Text::FileKeptOwnCopy, {"kept, your own copy: {path}", "保留你自己的版本：{path}"}},
    {Text::FileKeptUnreadable,
     {"kept, not read (a link, no regular file, or not in its encoding): {path}",
      "保留，未读取（链接、不是普通文件或编码不符）：{path}"}},
    {Text::FileStaysDeleted, {"stays deleted: {path}", "保持删除：{path}"}},
    {Text::FileMergedWithYourLineEnds, {" (merged with your line ends)", "（按你的行尾合并）"}},
    {Text::RecordCreated, {"record created: {path}", "已建立记录：{path}"}},
    {Text::PressAnyKey, {"Press any key to close this window...", "按任意键关闭窗口…"}},
};

static_assert(RowsFollow(kRows, &Row::id, static_cast<std::size_t>(Text::Count)),
              "one row per text, in the order of Text");

}  // namespace

Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value == nullptr || *value == '\0') continue;
        return value[0] == 'z' && value[1] == 'h' ? Language::Chinese : Language::English;
    }
    return Language::English;
}

const char* Pattern(Language language, Text text) {
    return kRows[static_cast<std::size_t>(text)].text[IndexOf(language)];
}

std::string Fill(const char* pattern, std::initializer_list<Field> fields) {
    std::string out;
    for (const char* at = pattern; *at != '\0';) {
        const Field* matched = nullptr;
        if (*at == '{') {
            for (const Field& field : fields) {
                const std::size_t length = std::strlen(field.key);
                if (std::strncmp(at + 1, field.key, length) == 0 && at[length + 1] == '}') matched = &field;
            }
        }
        if (matched == nullptr) {
            out += *at++;
            continue;
        }
        out += matched->value;
        at += std::strlen(matched->key) + 2;
    }
    return out;
}

std::string Because(Language language, const std::string& reason) {
    return reason.empty() ? std::string() : Say(language, Text::Because, {{"reason", reason}});
}

std::string UsageErrorMessage(Language language, UsageError error, const std::string& subject) {
    switch (error) {
        case UsageError::UnknownOption: return Say(language, Text::UnknownOption, {{"option", subject}});
        case UsageError::MissingValue: return Say(language, Text::MissingValue, {{"option", subject}});
        case UsageError::UnexpectedValue: return Say(language, Text::UnexpectedValue, {{"option", subject}});
        case UsageError::EmptyFolder: return Say(language, Text::EmptyFolder, {{"option", subject}});
        case UsageError::NameTwice: return Say(language, Text::NameTwice, {{"name", subject}});
        case UsageError::CommandsTogether: return Say(language, Text::CommandsTogether, {{"option", subject}});
        case UsageError::ForceAlone: return Say(language, Text::ForceAlone);
        case UsageError::UpdateOptions: return Say(language, Text::UpdateOptions, {{"option", subject}});
        case UsageError::None: break;
    }
    return {};
}

}  // namespace kx::cli
