// One script file: its blocks, functions, parameters, globals and calls.
#include <optional>
#include <set>

#include "ScriptChecker.h"

namespace kx::script {

namespace {

using Line = std::vector<Token>;

bool IsSymbol(const Token& token, const char* text) {
    return token.kind == TokenKind::Symbol && token.text == text;
}

const char* KeywordName(Keyword keyword) {
    switch (keyword) {
        case Keyword::Function: return "function";
        case Keyword::If: return "if";
        case Keyword::While: return "while";
        case Keyword::Select: return "select";
        default: return "block";
    }
}

// The arguments of the call whose "(" is at open; stops at the matching ")".
std::vector<Line> SplitArguments(const Line& line, std::size_t open) {
    std::vector<Line> arguments;
    Line current;
    int depth = 0;
    for (std::size_t i = open + 1; i < line.size(); ++i) {
        const Token& token = line[i];
        if (IsSymbol(token, "(") || IsSymbol(token, "[")) ++depth;
        if (IsSymbol(token, ")") || IsSymbol(token, "]")) {
            if (depth == 0) break;
            --depth;
        }
        if (depth == 0 && IsSymbol(token, ",")) {
            arguments.push_back(std::move(current));
            current.clear();
            continue;
        }
        current.push_back(token);
    }
    if (!current.empty() || !arguments.empty()) arguments.push_back(std::move(current));
    return arguments;
}

std::vector<Call> CallsIn(const Line& line, std::size_t from) {
    std::vector<Call> calls;
    for (std::size_t i = from; i + 1 < line.size(); ++i) {
        if (line[i].kind != TokenKind::Name || !IsSymbol(line[i + 1], "(")) continue;
        if (i > 0 && IsSymbol(line[i - 1], ".")) continue;  // a COM object's method
        calls.push_back({line[i].text, line[i].line, SplitArguments(line, i + 1)});
    }
    return calls;
}

struct Block {
    Keyword kind;
    int line;
    bool sawElse = false;
};

class Parser {
public:
    Parser(const std::string& file, Diagnostics& out) : out_(out) { script_.file = file; }

    Script Run(const std::vector<Token>& tokens) {
        Line line;
        for (const Token& token : tokens) {
            if (token.kind != TokenKind::LineEnd) {
                line.push_back(token);
                continue;
            }
            if (!line.empty()) Statement(line);
            if (function_ && !line.empty()) function_->body.push_back(token);
            line.clear();
        }
        ReportOpenBlocks(" at the end of the file");
        if (function_) Finish(function_->line);
        return std::move(script_);
    }

private:
    void Error(int line, const std::string& message) { out_.push_back({script_.file, line, message}); }

    // Each block still open needs an end of its own; each is reported at the
    // line that opened it.
    void ReportOpenBlocks(const std::string& where) {
        for (auto it = blocks_.rbegin(); it != blocks_.rend(); ++it) {
            std::string what = KeywordName(it->kind);
            if (it->kind == Keyword::Function && function_) what += " " + function_->name;
            Error(it->line, "missing end for " + what + " opened at line " + std::to_string(it->line) + where);
        }
        blocks_.clear();
    }

    void Finish(int endLine) {
        function_->endLine = endLine;
        script_.functions.push_back(std::move(*function_));
        function_.reset();
    }

    bool InsideWhile() const {
        for (const Block& block : blocks_) {
            if (block.kind == Keyword::While) return true;
        }
        return false;
    }

    void CheckBrackets(const Line& line) {
        std::string open;
        for (const Token& token : line) {
            if (IsSymbol(token, "(") || IsSymbol(token, "[")) open += token.text;
            if (IsSymbol(token, ")") || IsSymbol(token, "]")) {
                const char expected = token.text == ")" ? '(' : '[';
                if (open.empty() || open.back() != expected) {
                    Error(token.line, "unmatched \"" + token.text + "\"");
                    return;
                }
                open.pop_back();
            }
        }
        if (!open.empty()) Error(line.front().line, std::string("unclosed \"") + open.back() + "\"");
    }

    void Statement(const Line& line) {
        CheckBrackets(line);
        const Token& first = line.front();
        const int at = first.line;
        switch (first.keyword) {
            case Keyword::Function: return FunctionHeader(line);
            case Keyword::End: return End(at);
            case Keyword::Var: return Var(line);
            case Keyword::If:
            case Keyword::While:
            case Keyword::Select:
                if (!RequireFunction(first)) return;
                if (line.size() < 2) Error(at, first.text + " without a condition");
                blocks_.push_back({first.keyword, at});
                break;
            case Keyword::ElseIf:
            case Keyword::Else:
                if (!RequireFunction(first)) return;
                if (blocks_.empty() || blocks_.back().kind != Keyword::If) {
                    Error(at, first.text + " outside an if block");
                } else if (blocks_.back().sawElse) {
                    Error(at, first.text + " after else in the if block opened at line " +
                                  std::to_string(blocks_.back().line));
                } else if (first.keyword == Keyword::Else) {
                    blocks_.back().sawElse = true;
                    if (line.size() > 1) Error(at, "else takes nothing after it on its line");
                } else if (line.size() < 2) {
                    Error(at, first.text + " without a condition");
                }
                break;
            case Keyword::Case:
            case Keyword::Default:
                if (!RequireFunction(first)) return;
                if (blocks_.empty() || blocks_.back().kind != Keyword::Select) {
                    Error(at, first.text + " outside a select block");
                } else if (first.keyword == Keyword::Case && line.size() < 2) {
                    Error(at, "case without a value");
                }
                break;
            case Keyword::Return:
                if (!RequireFunction(first)) return;
                if (line.size() > 1) function_->returnsValue = true;
                break;
            case Keyword::Break:
            case Keyword::Continue:
                if (!RequireFunction(first)) return;
                if (!InsideWhile()) Error(at, first.text + " outside a while loop");
                break;
            default:
                if (!RequireFunction(first)) return;
                if (line.size() == 1 && first.kind == TokenKind::Name) {
                    Error(at, "statement \"" + first.text + "\" does nothing");
                }
        }
        AddCalls(line, 0);
        if (function_ && first.keyword != Keyword::End) {
            function_->body.insert(function_->body.end(), line.begin(), line.end());
        }
    }

    bool RequireFunction(const Token& first) {
        if (function_) return true;
        Error(first.line, "\"" + first.text + "\" outside a function");
        return false;
    }

    void AddCalls(const Line& line, std::size_t from) {
        auto calls = CallsIn(line, from);
        auto& target = function_ ? function_->calls : script_.globalCalls;
        target.insert(target.end(), calls.begin(), calls.end());
    }

    void FunctionHeader(const Line& line) {
        const int at = line.front().line;
        if (function_) {
            ReportOpenBlocks(" (still open at the function on line " + std::to_string(at) + ")");
            Finish(at - 1);
        }
        Function function;
        function.line = at;
        if (line.size() < 2 || line[1].kind != TokenKind::Name) {
            Error(at, "function without a name");
        } else {
            function.name = line[1].text;
        }
        if (line.size() < 3 || !IsSymbol(line[2], "(") || !IsSymbol(line.back(), ")")) {
            Error(at, "function header needs a parameter list in parentheses");
        } else {
            Parameters(Line(line.begin() + 3, line.end() - 1), function);
        }
        function_ = std::move(function);
        blocks_.push_back({Keyword::Function, at});
    }

    void Parameters(const Line& tokens, Function& function) {
        std::set<std::string> seen;
        Line current;
        auto flush = [&](int at) {
            if (current.empty()) {
                if (!tokens.empty()) Error(at, "empty parameter in " + function.name);
                return;
            }
            Parameter parameter;
            std::size_t i = 0;
            if (IsSymbol(current[0], "&")) {
                parameter.byReference = true;
                ++i;
            }
            if (i >= current.size() || current[i].kind != TokenKind::Name) {
                Error(at, "malformed parameter in " + function.name);
                current.clear();
                return;
            }
            parameter.name = current[i++].text;
            if (!seen.insert(parameter.name).second) {
                Error(at, "parameter " + parameter.name + " appears twice in " + function.name);
            }
            if (i < current.size()) {
                Line value(current.begin() + static_cast<long>(i) + 1, current.end());
                const bool literal =
                    IsSymbol(current[i], "=") &&
                    ((value.size() == 1 && (value[0].kind == TokenKind::String ||
                                            value[0].kind == TokenKind::Number ||
                                            value[0].keyword == Keyword::True ||
                                            value[0].keyword == Keyword::False)) ||
                     (value.size() == 2 && IsSymbol(value[0], "-") &&
                      value[1].kind == TokenKind::Number));
                if (!literal) {
                    Error(at, "default of " + parameter.name + " must be a literal");
                } else {
                    parameter.hasDefault = true;
                    parameter.defaultValue = value.back();
                    if (value.size() == 2) parameter.defaultValue.text = "-" + value[1].text;
                }
            }
            if (!parameter.hasDefault && !function.parameters.empty() &&
                function.parameters.back().hasDefault) {
                Error(at, "parameter " + parameter.name + " without a default follows one with a default");
            }
            function.parameters.push_back(std::move(parameter));
            current.clear();
        };
        int at = function.line;
        for (const Token& token : tokens) {
            at = token.line;
            if (IsSymbol(token, ",")) {
                flush(at);
            } else {
                current.push_back(token);
            }
        }
        flush(at);
    }

    void End(int at) {
        if (blocks_.empty()) {
            Error(at, "end without an open block");
            return;
        }
        const Block block = blocks_.back();
        blocks_.pop_back();
        if (block.kind == Keyword::Function) Finish(at);
    }

    void Var(const Line& line) {
        const int at = line.front().line;
        if (line.size() < 2 || line[1].kind != TokenKind::Name) {
            Error(at, line.front().text + " without a name");
            return;
        }
        if (line.size() > 2 && (!IsSymbol(line[2], "=") || line.size() == 3)) {
            Error(at, "expected \"= value\" after " + line[1].text);
        }
        if (function_) {
            AddCalls(line, 2);
            function_->body.insert(function_->body.end(), line.begin(), line.end());
            return;
        }
        Global global;
        global.name = line[1].text;
        global.line = at;
        if (line.size() > 3) global.initializer.assign(line.begin() + 3, line.end());
        script_.globals.push_back(std::move(global));
        AddCalls(line, 2);
    }

    Diagnostics& out_;
    Script script_;
    std::optional<Function> function_;
    std::vector<Block> blocks_;
};

}  // namespace

Script ParseScript(const std::string& file, const std::string& utf8, Diagnostics& out) {
    const std::vector<Token> tokens = Tokenize(file, utf8, out);
    return Parser(file, out).Run(tokens);
}

const Function* Script::Find(const std::string& name) const {
    for (const Function& function : functions) {
        if (function.name == name) return &function;
    }
    return nullptr;
}

std::vector<std::string> Script::FunctionNames() const {
    std::vector<std::string> names;
    for (const Function& function : functions) names.push_back(function.name);
    return names;
}

std::string Diagnostic::ToString() const { return file + ":" + std::to_string(line) + ": " + message; }

}  // namespace kx::script
