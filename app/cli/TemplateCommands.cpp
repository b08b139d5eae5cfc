#include "TemplateCommands.h"

#include <optional>

#include "Console.h"
#include "FileSystem.h"
#include "PathSplit.h"
#include "ProgramTexts.h"
#include "ShownText.h"
#include "templates/ExportTemplates.h"

namespace kx::cli {

namespace {

std::optional<AnsiString> FolderFromArgument(const std::string& argument) {
    // Absolute before the conversion, so that the current folder is checked too.
    std::optional<AnsiString> folder = ArgumentToAnsi(AbsolutePath(argument));
    if (!folder) PrintUtf8(stderr, "kxgen: 文件夹名里有代码页 936 (GBK) 无法表示的字符\n");
    return folder;
}

void PrintPathMessage(const AnsiString& path, const std::string& utf8) {
    PrintUtf8(stderr, "kxgen: " + ShownAnsi(path) + utf8 + "\n");
}

struct Counts {
    int refusals = 0;
    int warnings = 0;
};

// "folder/file:line: 错误：message", one line each, on standard error.
Counts PrintFindings(const AnsiString& folder, const LoadedTemplates& loaded) {
    Counts counts;
    for (const FileFindings& file : loaded.findings) {
        const AnsiString path = file.fileName.empty() ? folder : folder + kPathSeparator + file.fileName;
        for (const Finding& finding : file.findings) {
            (finding.refusal ? counts.refusals : counts.warnings) += 1;
            const std::string line = finding.line ? ":" + std::to_string(finding.line) : "";
            PrintUtf8(stderr, ShownAnsi(path) + line +
                                  (finding.refusal ? ": 错误：" : ": 警告：") + finding.message + "\n");
        }
    }
    return counts;
}

std::optional<LoadedTemplates> LoadAndPrint(const AnsiString& folder, Counts* counts) {
    if (!DirectoryExists(folder)) {
        PrintPathMessage(folder, ": 模板文件夹不存在");
        return std::nullopt;
    }
    LoadedTemplates loaded = LoadTemplates(folder);
    *counts = PrintFindings(folder, loaded);
    return loaded;
}

}  // namespace

int ExportTemplatesCommand(const std::string& folderArgument, bool force) {
    const std::optional<AnsiString> folder = FolderFromArgument(folderArgument);
    if (!folder) return 2;
    ExportResult result;
    try {
        result = ExportTemplates(*folder, force);
    } catch (const KxError& error) {
        PrintUtf8(stderr, "kxgen: " + ShownAnsi(error.Message()) + "\n");
        return 1;
    }
    for (const AnsiString& name : result.existing) PrintPathMessage(*folder + kPathSeparator + name, ": 文件已存在");
    if (!result.existing.empty()) {
        PrintUtf8(stderr, "kxgen: 没有写入任何文件；要覆盖这些文件请加 --force\n");
        return 1;
    }
    if (!result.problem.empty()) {
        PrintPathMessage(*folder, ": " + result.problem);
        return 1;
    }
    PrintUtf8(stdout, "内置模板已导出到 ");
    PrintUtf8(stdout, ShownAnsi(*folder) + "\n");
    for (const AnsiString& name : result.written) PrintUtf8(stdout, "  " + ShownAnsi(name) + "\n");
    PrintUtf8(stdout, "修改后用 kxgen --templates 加这个文件夹生成项目。\n");
    return 0;
}

int CheckTemplatesCommand(const std::string& folderArgument) {
    const std::optional<AnsiString> folder = FolderFromArgument(folderArgument);
    if (!folder) return 2;
    Counts counts;
    const std::optional<LoadedTemplates> loaded = LoadAndPrint(*folder, &counts);
    if (!loaded) return 1;
    if (counts.refusals + counts.warnings > 0) {
        PrintUtf8(stderr, "kxgen: 模板检查：" + std::to_string(counts.refusals) + " 个错误，" +
                              std::to_string(counts.warnings) + " 个警告\n");
        return 1;
    }
    PrintUtf8(stdout, "模板检查通过，取自文件夹的文件：");
    for (std::size_t i = 0; i < loaded->filesUsed.size(); ++i) {
        PrintUtf8(stdout, ShownAnsi((i ? KX_TEXT_LIST_SEPARATOR : "") + loaded->filesUsed[i]));
    }
    PrintUtf8(stdout, "\n");
    return 0;
}

std::unique_ptr<TemplateSet> LoadTemplatesCommand(const std::string& folderArgument, int* status) {
    *status = 2;
    const std::optional<AnsiString> folder = FolderFromArgument(folderArgument);
    if (!folder) return nullptr;
    *status = 1;
    Counts counts;
    std::optional<LoadedTemplates> loaded = LoadAndPrint(*folder, &counts);
    if (!loaded) return nullptr;
    if (loaded->Refused()) {
        PrintUtf8(stderr, "kxgen: 模板有误，没有写入任何文件\n");
        return nullptr;
    }
    *status = 0;
    return std::make_unique<TemplateSet>(std::move(loaded->set));
}

}  // namespace kx::cli
