// Checks that need the whole file set: who defines what, and whether every
// call and every window binding finds its function.
#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <unordered_map>

#include "ScriptChecker.h"

namespace kx::script {

namespace {

struct Definition {
    const Script* script;
    const Function* function;
};

bool IsPlainString(const std::vector<Token>& argument) {
    return argument.size() == 1 && argument[0].kind == TokenKind::String;
}

bool IsVariable(const std::vector<Token>& argument) {
    if (argument.empty() || argument[0].kind != TokenKind::Name) return false;
    // NAME or NAME[...]...: something that can be written to.
    std::size_t i = 1;
    while (i < argument.size()) {
        if (argument[i].text != "[" || argument[i].kind != TokenKind::Symbol) return false;
        int depth = 0;
        for (; i < argument.size(); ++i) {
            if (argument[i].kind != TokenKind::Symbol) continue;
            if (argument[i].text == "[") ++depth;
            if (argument[i].text == "]" && --depth == 0) break;
        }
        ++i;
    }
    return true;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class Checker {
public:
    Checker(const std::vector<Script>& scripts, Diagnostics& out) : scripts_(scripts), out_(out) {
        for (const Script& script : scripts_) {
            for (const Function& function : script.functions) {
                auto [it, added] = definitions_.emplace(function.name, Definition{&script, &function});
                if (!added) {
                    Error(script.file, function.line,
                          "function " + function.name + " is defined twice (first at " +
                              it->second.script->file + ":" + std::to_string(it->second.function->line) +
                              ")");
                }
            }
        }
    }

    void CheckCalls() {
        for (const Script& script : scripts_) {
            for (const Call& call : script.globalCalls) CheckCall(script, call);
            for (const Function& function : script.functions) {
                for (const Call& call : function.calls) CheckCall(script, call);
            }
        }
    }

    void CheckWindow(const WindowFile& window, const std::string& mainScriptFile) {
        const Script* main = nullptr;
        for (const Script& script : scripts_) {
            if (script.file == mainScriptFile) main = &script;
        }
        if (!main) {
            Error(window.file, 1, "main script " + mainScriptFile + " is not in the file set");
            return;
        }
        // A script asks for a control by its name: no other word of the
        // window file may be that name (a window called 启动 beside the hot
        // key 启动, or called 按钮, the kind word).
        std::map<std::string, int> words;
        for (const WindowControl& control : window.controls) {
            ++words[control.kind];
            ++words[control.name];
            for (const auto& [key, value] : control.properties) ++words[key];
            for (const auto& [event, handler] : control.events) {
                ++words[event];
                ++words[handler];
            }
        }
        ++words[u8"窗口结束"];
        for (const WindowControl& control : window.controls) {
            if (words[control.name] > 1) {
                Error(window.file, control.line, "the name " + control.name + " is used more than once in the window file");
            }
        }
        for (const WindowControl& control : window.controls) {
            for (const auto& [event, handler] : control.events) {
                const auto count = std::count_if(main->functions.begin(), main->functions.end(),
                                                 [&](const Function& f) { return f.name == handler; });
                if (count == 0) {
                    Error(window.file, control.line,
                          "handler " + handler + " of " + control.name + " (" + event +
                              ") is not defined in " + main->file);
                } else if (count > 1) {
                    Error(window.file, control.line,
                          "handler " + handler + " is defined " + std::to_string(count) + " times in " +
                              main->file);
                }
            }
        }
    }

private:
    void Error(const std::string& file, int line, const std::string& message) {
        out_.push_back({file, line, message});
    }

    void CheckCall(const Script& script, const Call& call) {
        const auto found = definitions_.find(call.callee);
        if (found != definitions_.end()) {
            CheckArguments(script, call, *found->second.function);
        } else if (IsBuiltinNamed(call.callee, "dllcall")) {
            CheckDllCall(script, call);
        } else if (IsBuiltinNamed(call.callee, "threadbegin")) {
            if (!call.arguments.empty() && IsPlainString(call.arguments[0]) &&
                definitions_.count(call.arguments[0][0].text) == 0) {
                Error(script.file, call.line,
                      "thread starts undefined function " + call.arguments[0][0].text);
            }
        } else if (!IsBuiltin(call.callee)) {
            Error(script.file, call.line, "call to undefined function " + call.callee);
        }
    }

    void CheckArguments(const Script& script, const Call& call, const Function& callee) {
        const std::size_t given = call.arguments.size();
        const std::size_t most = callee.parameters.size();
        const std::size_t least = static_cast<std::size_t>(
            std::count_if(callee.parameters.begin(), callee.parameters.end(),
                          [](const Parameter& p) { return !p.hasDefault; }));
        if (given < least || given > most) {
            const std::string range =
                least == most ? std::to_string(most) : std::to_string(least) + " to " + std::to_string(most);
            Error(script.file, call.line,
                  callee.name + " takes " + range + " arguments, called with " + std::to_string(given));
            return;
        }
        for (std::size_t i = 0; i < given; ++i) {
            if (callee.parameters[i].byReference && !IsVariable(call.arguments[i])) {
                Error(script.file, call.line,
                      "argument " + std::to_string(i + 1) + " of " + callee.name +
                          " is passed by reference and must be a variable");
            }
        }
    }

    void CheckDllCall(const Script& script, const Call& call) {
        static const std::set<std::string> results = {"long", "int", "char *", "wchar *"};
        static const std::set<std::string> parameters = {"long",    "int",      "char *", "wchar *",
                                                         "pchar *", "pwchar *", "plong"};
        const auto& args = call.arguments;
        if (args.size() < 3 || (args.size() - 3) % 2 != 0) {
            Error(script.file, call.line,
                  call.callee + " needs a library, a result type, a function name and type and value "
                                "pairs; got " + std::to_string(args.size()) + " arguments");
            return;
        }
        if (IsPlainString(args[0])) {
            const std::string library = Lower(args[0][0].text);
            if (library.size() < 5 || library.compare(library.size() - 4, 4, ".dll") != 0) {
                Error(script.file, call.line, "library \"" + args[0][0].text + "\" is not a .dll");
            }
        }
        if (!IsPlainString(args[1]) || results.count(args[1][0].text) == 0) {
            Error(script.file, call.line, "unknown result type in " + call.callee);
        }
        if (!IsPlainString(args[2]) || args[2][0].text.empty()) {
            Error(script.file, call.line, call.callee + " needs the function name as a text");
        }
        for (std::size_t i = 3; i < args.size(); i += 2) {
            if (!IsPlainString(args[i]) || parameters.count(args[i][0].text) == 0) {
                Error(script.file, call.line,
                      "argument " + std::to_string(i + 1) + " of " + call.callee + " is not a known type");
            }
        }
    }

    const std::vector<Script>& scripts_;
    Diagnostics& out_;
    std::unordered_map<std::string, Definition> definitions_;
};

}  // namespace

void ProjectChecker::AddScript(Script script) { scripts_.push_back(std::move(script)); }

void ProjectChecker::SetWindow(WindowFile window, std::string mainScriptFile) {
    window_ = std::move(window);
    mainScriptFile_ = std::move(mainScriptFile);
    hasWindow_ = true;
}

Diagnostics ProjectChecker::Check() const {
    Diagnostics out;
    Checker checker(scripts_, out);
    checker.CheckCalls();
    if (hasWindow_) checker.CheckWindow(window_, mainScriptFile_);
    return out;
}

}  // namespace kx::script
