#include "TemplateWords.h"

#include <string_view>

#include "CodePage.h"
#include "Gbk.h"
#include "SubstituteProjectName.h"

namespace kx {

namespace {

void Add(TemplateWords& words, AnsiView word) {
    if (word.empty()) return;
    AnsiString text(word);
    if (text.find(kProjectNamePlaceholder) != AnsiString::npos) {
        words.withPlaceholder.insert(std::move(text));
    } else {
        words.taken.insert(std::move(text));
    }
}

// The lines of text without their line ends.
template <typename Each>
void ForEachLine(AnsiView text, Each each) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == AnsiView::npos) end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;
        each(text.substr(start, stop - start));
        start = end + 1;
    }
}

// A section's items "key:value|...": every key, and with handlers every value.
void AddSection(TemplateWords& words, AnsiView section, bool values) {
    std::size_t itemStart = 0;
    std::size_t colon = AnsiView::npos;
    for (const GbkChar c : GbkChars(section)) {
        if (c.Is(':') && colon == AnsiView::npos) colon = c.offset;
        if (!c.Is('|')) continue;
        const AnsiView item = section.substr(itemStart, c.offset - itemStart);
        const std::size_t keyEnd = colon == AnsiView::npos ? item.size() : colon - itemStart;
        Add(words, item.substr(0, keyEnd));
        if (values && keyEnd < item.size()) Add(words, item.substr(keyEnd + 1));
        itemStart = c.End();
        colon = AnsiView::npos;
    }
}

// A window file line: kind, name, an optional "caption", the rectangle, the
// property section, the event section, separated by single spaces.
void AddWindowLine(TemplateWords& words, AnsiView line) {
    std::vector<AnsiView> fields;
    std::size_t start = 0;
    bool quoted = false;
    for (const GbkChar c : GbkChars(line)) {
        if (c.Is('"')) quoted = !quoted;
        if (c.Is(' ') && !quoted) {
            fields.push_back(line.substr(start, c.offset - start));
            start = c.End();
        }
    }
    fields.push_back(line.substr(start));
    Add(words, fields[0]);  // the kind word
    if (fields.size() > 1) Add(words, fields[1]);  // the control's name
    // The sections are the last two fields: properties, then events.
    if (fields.size() >= 4) {
        AddSection(words, fields[fields.size() - 2], false);
        AddSection(words, fields[fields.size() - 1], true);
    }
}

// "function NAME(" or "功能 NAME(" at the start of a line (after blanks).
void AddFunctionName(TemplateWords& words, AnsiView line, const AnsiView (&keywords)[2]) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == AnsiView::npos) return;
    line.remove_prefix(first);
    for (const AnsiView keyword : keywords) {
        if (line.size() <= keyword.size() || line.compare(0, keyword.size(), keyword) != 0) continue;
        const char after = line[keyword.size()];
        if (after != ' ' && after != '\t') continue;
        AnsiView rest = line.substr(keyword.size());
        rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(" \t")));
        std::size_t end = rest.size();
        for (const GbkChar c : GbkChars(rest)) {
            if (c.Is('(') || c.Is(' ') || c.Is('\t')) {
                end = c.offset;
                break;
            }
        }
        Add(words, rest.substr(0, end));
        return;
    }
}

}  // namespace

TemplateWords WordsOfTemplates(AnsiView windowFile, const std::vector<AnsiView>& scripts) {
    TemplateWords words;
    ForEachLine(windowFile, [&](AnsiView line) {
        if (!line.empty()) AddWindowLine(words, line);
    });
    const AnsiString function = "function";
    const AnsiString chineseFunction = AnsiFromUtf8(u8"功能");
    const AnsiView functionWords[2] = {function, chineseFunction};
    for (const AnsiView script : scripts) {
        ForEachLine(script, [&](AnsiView line) { AddFunctionName(words, line, functionWords); });
    }
    return words;
}

}  // namespace kx
