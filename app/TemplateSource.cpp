#include "TemplateSource.h"

#include "UnitFunction.h"

namespace kx {

namespace {

class ResourceTemplates : public TemplateSource {
public:
    AnsiString Text(const AnsiString& name) const override { return ReadTextResource(name, "txt"); }
    bool WriteDll(const AnsiString& path) const override {
        return ExtractResourceToFile(path, "GetPointXY", "dll");
    }
    std::string DllBytes() const override { return ReadResourceBytes("GetPointXY", "dll"); }
};

}  // namespace

const TemplateSource& BuiltInTemplates() {
    static const ResourceTemplates templates;
    return templates;
}

}  // namespace kx
