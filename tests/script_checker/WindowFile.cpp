// The window description: one control a line, closed by the end-of-window line.
#include <regex>

#include "ScriptChecker.h"

namespace kx::script {

namespace {

const char kWindowEnd[] = u8"窗口结束";

// Splits "a:b|c:d|" into its items; an empty item (as in "x:1||") stays out.
std::vector<std::pair<std::string, std::string>> Items(const std::string& section, bool& ok) {
    std::vector<std::pair<std::string, std::string>> items;
    ok = !section.empty() && section.back() == '|';
    std::size_t start = 0;
    while (start < section.size()) {
        std::size_t bar = section.find('|', start);
        if (bar == std::string::npos) bar = section.size();
        const std::string item = section.substr(start, bar - start);
        if (!item.empty()) {
            const std::size_t colon = item.find(':');
            if (colon == std::string::npos) {
                ok = false;
            } else {
                items.emplace_back(item.substr(0, colon), item.substr(colon + 1));
            }
        }
        start = bar + 1;
    }
    return items;
}

}  // namespace

WindowFile ParseWindowFile(const std::string& file, const std::string& utf8, Diagnostics& out) {
    // kind, name, optional "caption", rectangle, properties, events. The name may
    // hold spaces (it is the project name on the first line), so it is matched
    // lazily against what must follow it.
    static const std::regex line_shape(
        R"re(^(\S+) (.+?)(?: "([^"]*)")? (-?\d+,-?\d+,-?\d+,-?\d+) (\S+) (.+)$)re");
    WindowFile window;
    window.file = file;
    const std::string text = StripUtf8Bom(utf8);
    bool closed = false;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t stop = text.find('\n', start);
        if (stop == std::string::npos) stop = text.size();
        std::string line = text.substr(start, stop - start);
        start = stop + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (closed) {
            out.push_back({file, number, "text after the end of the window"});
            continue;
        }
        if (line == kWindowEnd) {
            closed = true;
            continue;
        }
        std::smatch match;
        if (!std::regex_match(line, match, line_shape)) {
            out.push_back({file, number, "malformed control line"});
            continue;
        }
        WindowControl control;
        control.kind = match[1];
        control.name = match[2];
        control.line = number;
        bool propertiesOk = false;
        bool eventsOk = false;
        for (auto& [key, value] : Items(match[5], propertiesOk)) control.properties[key] = value;
        control.events = Items(match[6], eventsOk);
        if (!propertiesOk || !eventsOk) out.push_back({file, number, "malformed property or event section"});
        window.controls.push_back(std::move(control));
    }
    if (!closed) out.push_back({file, number, std::string("missing ") + kWindowEnd});
    return window;
}

const WindowControl* WindowFile::Find(const std::string& name) const {
    for (const WindowControl& control : controls) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

}  // namespace kx::script
