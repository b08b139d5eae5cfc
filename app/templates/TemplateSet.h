// A set of templates for one generation: each file found in the user's
// folder instead of the built-in template, the built-in one for each file
// missing there. Everything is read and checked before anything is written.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TemplateChecks.h"
#include "TemplateFiles.h"
#include "TemplateSource.h"

namespace kx {

class TemplateSet : public TemplateSource {
public:
    AnsiString Text(const AnsiString& name) const override;
    void LendText(const AnsiString& name, const std::function<void(AnsiView)>& use) const override;
    bool WriteDll(const AnsiString& path) const override;
    std::string DllBytes() const override;

    std::map<AnsiString, AnsiString> texts;  // by catalogue name, GBK
    std::optional<std::string> dll;
};

struct FileFindings {
    AnsiString fileName;  // inside the folder; empty for the folder itself
    std::vector<Finding> findings;
};

struct LoadedTemplates {
    TemplateSet set;
    std::vector<AnsiString> filesUsed;  // file names taken from the folder
    std::vector<FileFindings> findings;
    bool Refused() const;
};

// Reads and checks every template file in folder (an existing folder).
LoadedTemplates LoadTemplates(const AnsiString& folder);

}  // namespace kx
