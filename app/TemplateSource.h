// Where the bytes of a new project come from: the five text templates (GBK,
// by their catalogue names "runtimefun", "publicfun", "programe", "form",
// "code") and the point-picker DLL. By default the program's own resources.
#pragma once

#include <functional>
#include <string>

#include "KxTypes.h"

namespace kx {

class TemplateSource {
public:
    virtual ~TemplateSource() = default;
    // The template's text as GBK bytes; empty when there is none.
    virtual AnsiString Text(const AnsiString& name) const = 0;
    // Lends the template's text to use, as Text gives it, without a copy
    // where the source holds the text already.
    virtual void LendText(const AnsiString& name, const std::function<void(AnsiView)>& use) const { use(Text(name)); }
    // Writes the DLL to path; false when it is missing or cannot be written.
    virtual bool WriteDll(const AnsiString& path) const = 0;
    // The DLL's bytes, as WriteDll writes them; empty when there is none.
    virtual std::string DllBytes() const = 0;
};

// The templates built into the executable.
const TemplateSource& BuiltInTemplates();

}  // namespace kx
