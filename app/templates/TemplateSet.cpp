#include "TemplateSet.h"

#include <algorithm>

#include "FileReading.h"
#include "PathSplit.h"

namespace kx {

AnsiString TemplateSet::Text(const AnsiString& name) const {
    const auto own = texts.find(name);
    return own != texts.end() ? own->second : BuiltInTemplates().Text(name);
}

void TemplateSet::LendText(const AnsiString& name, const std::function<void(AnsiView)>& use) const {
    const auto own = texts.find(name);
    if (own == texts.end()) {
        BuiltInTemplates().LendText(name, use);
        return;
    }
    use(own->second);
}

bool TemplateSet::WriteDll(const AnsiString& path) const {
    return dll ? WriteBytesToFile(path, *dll) : BuiltInTemplates().WriteDll(path);
}

std::string TemplateSet::DllBytes() const { return dll ? *dll : BuiltInTemplates().DllBytes(); }

bool LoadedTemplates::Refused() const {
    return std::any_of(findings.begin(), findings.end(), [](const FileFindings& file) {
        return std::any_of(file.findings.begin(), file.findings.end(),
                           [](const Finding& f) { return f.refusal; });
    });
}

LoadedTemplates LoadTemplates(const AnsiString& folder) {
    LoadedTemplates loaded;
    auto report = [&](const AnsiString& fileName, std::vector<Finding> findings) {
        if (!findings.empty()) loaded.findings.push_back({fileName, std::move(findings)});
    };

    for (const TemplateFile& file : kTemplateFiles) {
        FileContents contents = ReadFileContents(folder + kPathSeparator + file.fileName);
        if (contents.outcome == ReadOutcome::Missing) continue;
        loaded.filesUsed.push_back(file.fileName);
        if (contents.outcome == ReadOutcome::Failed) {
            report(file.fileName, {{true, 0, FindingKind::Unreadable}});
            continue;
        }
        CheckedText checked = CheckTemplateText(contents.bytes, file.substituted);
        // The file's bytes go before the text is cut down to its size: with a
        // large template, the set holds one copy of it and no room to spare.
        std::string().swap(contents.bytes);
        if (!checked.Refused()) {
            checked.text.shrink_to_fit();
            loaded.set.texts[file.resource] = std::move(checked.text);
        }
        report(file.fileName, std::move(checked.findings));
    }

    FileContents dll = ReadFileContents(folder + kPathSeparator + kDllFileName);
    if (dll.outcome != ReadOutcome::Missing) {
        loaded.filesUsed.push_back(kDllFileName);
        if (dll.outcome == ReadOutcome::Failed) {
            report(kDllFileName, {{true, 0, FindingKind::Unreadable}});
        } else if (const auto problem = PointPickerDllProblem(dll.bytes)) {
            report(kDllFileName, {*problem});
        } else {
            loaded.set.dll = std::move(dll.bytes);
        }
    }

    if (loaded.filesUsed.empty()) {
        report("", {{true, 0, FindingKind::NoTemplateFiles}});
    }
    return loaded;
}

}  // namespace kx
