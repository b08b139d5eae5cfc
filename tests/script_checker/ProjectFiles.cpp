#include "ProjectFiles.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "CodePage.h"
#include "FileSystem.h"
#include "GenerateProject.h"

namespace kx::script::test {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string TemplateSource(const std::string& name) {
    return ReadBytes(std::string(KX_SOURCE_DIR) + "/templates/text/" + name + ".txt");
}

std::string ReplaceEvery(std::string text, const std::string& pattern, const std::string& by) {
    for (std::size_t pos = text.find(pattern); pos != std::string::npos;
         pos = text.find(pattern, pos + by.size())) {
        text.replace(pos, pattern.size(), by);
    }
    return text;
}

ProjectTexts FromTemplates(const std::string& name) {
    ProjectTexts texts;
    texts.name = name;
    texts.code = ReplaceEvery("var MyGUID=\"{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}\"\r\n" +
                                  TemplateSource("code"),
                              kPlaceholder, name);
    texts.runtimeFun = TemplateSource("runtimefun");
    texts.publicFun = TemplateSource("publicfun");
    texts.keyScript = u8"function DoSomeWorks()\r\n GetPoint(\"位置名称\")\r\n mouseleftclick()\r\n"
                      u8" sleep(500)\r\n\r\nreturn true\r\nend";
    texts.window = ReplaceEvery(TemplateSource("form"), kPlaceholder, name);
    return texts;
}

CheckedProject CheckProject(const ProjectTexts& texts) {
    CheckedProject project;
    Diagnostics& out = project.diagnostics;
    project.code = ParseScript(texts.MainScriptFile(), texts.code, out);
    project.runtimeFun = ParseScript(kRuntimeFunFile, texts.runtimeFun, out);
    project.publicFun = ParseScript(kPublicFunFile, texts.publicFun, out);
    project.keyScript = ParseScript(kKeyScriptFile, texts.keyScript, out);
    project.window = ParseWindowFile(kWindowFile, texts.window, out);

    ProjectChecker checker;
    checker.AddScript(project.code);
    checker.AddScript(project.runtimeFun);
    checker.AddScript(project.publicFun);
    checker.AddScript(project.keyScript);
    checker.SetWindow(project.window, texts.MainScriptFile());
    const Diagnostics whole = checker.Check();
    out.insert(out.end(), whole.begin(), whole.end());
    return project;
}

namespace {

class RecordingHost : public kx::HostPort {
public:
    explicit RecordingHost(std::vector<std::string>& opened) : opened_(opened) {}
    kx::AnsiString OutputRoot() override { return {}; }
    kx::LocalDate Today() override { return {2026, 1, 1}; }
    void ShellOpen(const kx::AnsiString& path) override { opened_.push_back(path); }

private:
    std::vector<std::string>& opened_;
};

// The program's paths are ANSI; the test's own file access uses the
// platform's narrow paths, which are ANSI on Windows and UTF-8 elsewhere.
std::string AnsiFromNative(const std::string& path) {
#ifdef _WIN32
    return path;
#else
    return kx::AnsiFromUtf8(path);
#endif
}

std::string NativeFromUtf8(const std::string& path) {
#ifdef _WIN32
    return kx::AnsiFromUtf8(path);
#else
    return path;
#endif
}

}  // namespace

GeneratedProject::GeneratedProject(const std::string& name) : name_(name) {
    static std::atomic<int> counter{0};
    static const unsigned run = std::random_device{}();
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() /
                          ("kx_script_checker_" + std::to_string(run) + "_" + std::to_string(counter++));
    fs::remove_all(root);
    fs::create_directories(root);
    root_ = root.string();

    const kx::AnsiString outputRoot = AnsiFromNative(root_);
    const kx::AnsiString ansiName = kx::AnsiFromUtf8(name);
    kx::GenerationPlan plan;
    plan.outputRoot = outputRoot;
    plan.name = ansiName;
    plan.paths = kx::ProjectPathsFor(outputRoot, ansiName);
    plan.templates = &kx::BuiltInTemplates();
    plan.textFiles = kx::ProjectTextFiles(kx::BuiltInTemplates(), ansiName, kx::NewGuidText());
    projectFolderAnsi = plan.paths.folder;
    // WriteProjectFiles starts from prepared folders: project, source and build.
    if (!kx::CreateFolder(plan.paths.folder) || !kx::CreateFolder(plan.paths.sourceFolder) ||
        !kx::CreateFolder(plan.paths.buildFolder)) {
        throw std::runtime_error("cannot prepare the project folders under " + root_);
    }
    RecordingHost host(opened);
    kx::WriteProjectFiles(plan, host);
}

GeneratedProject::~GeneratedProject() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string GeneratedProject::File(const std::string& relative) const {
    std::string path = root_ + "/" + NativeFromUtf8(name_) + "/" + NativeFromUtf8(relative);
    return ReadBytes(path);
}

ProjectTexts GeneratedProject::Texts() const {
    ProjectTexts texts;
    texts.name = name_;
    const std::string source = name_ + "/";
    texts.code = StripUtf8Bom(File(source + name_ + ".kx"));
    texts.runtimeFun = StripUtf8Bom(File(source + kRuntimeFunFile));
    texts.publicFun = StripUtf8Bom(File(source + kPublicFunFile));
    texts.keyScript = StripUtf8Bom(File(source + kKeyScriptFile));
    texts.window = DecodeUtf16Le(File(source + kWindowFile), nullptr, nullptr);
    return texts;
}

std::string Describe(const Diagnostics& diagnostics) {
    std::string text;
    for (const Diagnostic& d : diagnostics) text += d.ToString() + "\n";
    return text;
}

}  // namespace kx::script::test
