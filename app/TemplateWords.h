// The names a template set gives its own things. A project whose name, in
// KX's name form, were one of them would make two things of one name: a
// window called "启动" beside the hot key "启动", a window called "按钮" that
// reads as the kind word, a function "退出_点击_初始化" ... So the project's
// name form steers clear of them (ProjectNameForms.h).
#pragma once

#include <set>
#include <vector>

#include "KxTypes.h"

namespace kx {

struct TemplateWords {
    // Names the project's identifier must not equal: the window file's kind
    // words, control names, event words, property keys and handler names;
    // the scripts' function names. (KX's keywords are KxName.h's.)
    std::set<AnsiString> taken;
    // Names built from the placeholder ("$ProjectName$_初始化"): with the
    // identifier in place, none may equal a taken name either.
    std::set<AnsiString> withPlaceholder;
};

// From the window file template and the script templates (GBK). Reads each
// text once, line by line; a script is only looked at where a line starts
// with "function" or "功能".
TemplateWords WordsOfTemplates(AnsiView windowFile, const std::vector<AnsiView>& scripts);

}  // namespace kx
