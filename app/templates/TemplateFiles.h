// The text templates as files a person edits: each one's catalogue name and
// its file name in a template folder, in the order a project writes them.
#pragma once

namespace kx {

struct TemplateFile {
    const char* resource;
    const char* fileName;
    bool substituted;  // "$ProjectName$" is replaced in it
};

inline constexpr TemplateFile kTemplateFiles[] = {
    {"runtimefun", "runtime-settings.kx", false},
    {"publicfun", "public-library.kx", false},
    {"programe", "project-file.kxproj", true},
    {"form", "window.kxwin", true},
    {"code", "main-script.kx", true},
};

inline constexpr char kDllFileName[] = "GetPointXY.dll";

}  // namespace kx
