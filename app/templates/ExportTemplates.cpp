#include "ExportTemplates.h"

#include "FileReading.h"
#include "PathSplit.h"
#include "FileSystem.h"
#include "TemplateSet.h"
#include "UnitFunction.h"

namespace kx {

namespace {

// The guide, UTF-8 with CR LF as Notepad keeps it; "名称" stands for the project name.
const char kGuide[] =
    "KX项目模板：自己的模板\r\n"
    "\r\n"
    "这个文件夹里是生成新项目用的模板，可以随意修改。\r\n"
    "用 kxgen --templates 生成时，文件夹里有的文件代替程序内置的模板，\r\n"
    "缺少的文件仍用内置模板。本文件不参与生成。\r\n"
    "\r\n"
    "各文件变成新项目里的哪个文件（“名称”是项目名称）：\r\n"
    "  runtime-settings.kx   名称\\运行时设置函数.kx\r\n"
    "  public-library.kx     名称\\公共库.kx\r\n"
    "  project-file.kxproj   名称.kxproj（项目文件）\r\n"
    "  window.kxwin          名称\\main.kxwin（窗口文件，写成 UTF-16）\r\n"
    "  main-script.kx        名称\\名称.kx（主脚本，第一行前加上 var MyGUID=\"{…}\"）\r\n"
    "  GetPointXY.dll        生成\\GetPointXY.dll（取点 DLL，原样复制）\r\n"
    "\r\n"
    "$ProjectName$ 会被替换为项目名称：只在 project-file.kxproj、window.kxwin\r\n"
    "和 main-script.kx 中替换；两个库文件原样写入。\r\n"
    "\r\n"
    "保存时请注意：\r\n"
    "  - 编码 UTF-8（有没有 BOM 都可以），只用 GBK（代码页 936）能表示的字符；\r\n"
    "  - 行尾 CR LF（其他行尾会自动转换）；\r\n"
    "  - GetPointXY.dll 必须是导出序号 1 和 2 的 32 位 DLL。\r\n"
    "\r\n"
    "命令（“文件夹”是这个文件夹的路径）：\r\n"
    "  kxgen --check-templates 文件夹          只检查模板，不写任何文件\r\n"
    "  kxgen --templates 文件夹 --name 名称    用这些模板生成项目\r\n"
    "  kxgen --export-templates 文件夹 --force 重新导出内置模板，覆盖这里的文件\r\n";

}  // namespace

std::vector<AnsiString> ExportedFileNames() {
    std::vector<AnsiString> names;
    for (const TemplateFile& file : kTemplateFiles) names.push_back(file.fileName);
    names.push_back(kDllFileName);
    names.push_back(kGuideFileName);
    return names;
}

ExportResult ExportTemplates(const AnsiString& folder, bool force) {
    ExportResult result;
    const std::vector<AnsiString> names = ExportedFileNames();
    if (!DirectoryExists(folder)) {
        if (PathTaken(folder)) {
            result.problem = ExportProblem::PathIsFile;
            return result;
        }
        if (!CreateFolder(folder)) {
            result.problem = ExportProblem::FolderNotCreated;
            result.systemError = LastSystemError();
            return result;
        }
    } else if (!force) {
        for (const AnsiString& name : names) {
            if (PathTaken(folder + kPathSeparator + name)) result.existing.push_back(name);
        }
        if (!result.existing.empty()) return result;
    }

    // A build without a template must not export half a set.
    for (const TemplateFile& file : kTemplateFiles) {
        if (BuiltInTemplates().Text(file.resource).empty()) {
            result.problem = ExportProblem::TemplateMissing;
            result.file = file.fileName;
            return result;
        }
    }
    if (!BuiltInTemplates().WriteDll(folder + kPathSeparator + kDllFileName)) {
        result.problem = ExportProblem::DllNotWritten;
        result.file = kDllFileName;
        return result;
    }
    result.written.push_back(kDllFileName);
    for (const TemplateFile& file : kTemplateFiles) {
        // The generator's own UTF-8 writer: an unedited library file is byte for
        // byte the file a project gets.
        SaveUtf8File(folder + kPathSeparator + file.fileName, BuiltInTemplates().Text(file.resource), true);
        result.written.push_back(file.fileName);
    }
    if (!WriteBytesToFile(folder + kPathSeparator + kGuideFileName, std::string("\xEF\xBB\xBF") + kGuide)) {
        result.problem = ExportProblem::GuideNotWritten;
        result.file = kGuideFileName;
        return result;
    }
    result.written.push_back(kGuideFileName);
    return result;
}

}  // namespace kx
