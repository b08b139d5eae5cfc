// A front end for KX script, as far as the tests need one: it reads a script the
// way a compiler would before generating code, and reports what would stop it.
//
// The dialect accepted (and the only one the project's templates use):
//
//   Lines      One statement per line; a line break ends it. There is no line
//              continuation. Text is UTF-8 (a byte-order mark is stripped first).
//   Comments   "//" to the end of the line, outside strings.
//   Strings    "..." on one line, with the escapes \" \\ \r \n \t; a string left
//              open at the end of its line is an error.
//   Numbers    decimal (123, 1.5) or hexadecimal with a leading "#" (#632, #80000).
//   Names      the program's own rule (KxName.h): ASCII letters, digits and
//              "_", and any character from U+00C0 up except punctuation and
//              symbols (U+2000-U+2BFF, U+3000-U+303F, U+FF00-U+FFEF, U+FEFF),
//              so a full-width comma or bracket is an error. A name does not
//              start with a digit.
//   Symbols    ( ) [ ] , . ; + - * / % = == != < > <= >= && || ! &
//              "&" joins texts, and marks a by-reference parameter in a
//              function header.
//
//   Keywords, English and Chinese forms, interchangeable anywhere:
//     function 功能   end 结束   var 变量   return 返回
//     if 如果   elseif 否则如果   else 否则
//     while 循环   break 跳出   continue 继续
//     select 选择   case 条件   default 默认
//     true 真   false 假
//
//   Top level  only "var NAME [= expression]" (a global) and function blocks:
//                function NAME(p1, &p2, p3 = literal) ... end
//              A default value is a literal: a string, a number (optionally
//              negative), true or false. Once a parameter has a default, the
//              ones after it have one too.
//   Blocks     inside a function, each closed by end:
//                if (cond) / elseif (cond) / else / end
//                while (cond) / end
//                select (expr) / case value / default / end
//              elseif and else belong to the innermost if, and nothing follows
//              an else in the same if; case and default belong to the innermost
//              select; break and continue only inside a while; functions do
//              not nest.
//   Calls      NAME(arguments) anywhere in an expression. A call after "." is a
//              method of a COM object and is not checked. Arguments for a
//              by-reference parameter are passed as plain variables.
//
// Across a file set the checker requires that every function called is defined
// exactly once in the set (with an argument count its parameters accept), or is
// a KX built-in (Builtins()); that dllcall names a library ending in ".dll", a
// known result type and then type and value pairs of known types; that
// threadbegin starts a function defined in the set; and that every handler the
// window file binds is defined exactly once, in the main script.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kx::script {

struct Diagnostic {
    std::string file;
    int line = 0;
    std::string message;

    // "file:line: message"
    std::string ToString() const;
};

using Diagnostics = std::vector<Diagnostic>;

enum class TokenKind { Name, Keyword, Number, String, Symbol, LineEnd };

enum class Keyword {
    None, Function, End, Var, Return, If, ElseIf, Else, While, Break, Continue,
    Select, Case, Default, True, False
};

struct Token {
    TokenKind kind = TokenKind::Symbol;
    Keyword keyword = Keyword::None;
    std::string text;  // as written; for a string, its value with escapes undone
    int line = 0;
};

// The tokens of a whole text; every line, the last included, ends in a LineEnd.
std::vector<Token> Tokenize(const std::string& file, const std::string& utf8, Diagnostics& out);

// The value of a decimal or "#" hexadecimal number token.
long long NumberValue(const Token& number);

struct Parameter {
    std::string name;
    bool byReference = false;
    bool hasDefault = false;
    Token defaultValue;  // meaningful when hasDefault
};

struct Call {
    std::string callee;
    int line = 0;
    std::vector<std::vector<Token>> arguments;  // each argument's tokens
};

struct Function {
    std::string name;
    int line = 0;
    int endLine = 0;
    std::vector<Parameter> parameters;
    std::vector<Token> body;  // everything between the header and its end
    std::vector<Call> calls;
    bool returnsValue = false;  // some "return" carries a value
};

struct Global {
    std::string name;
    int line = 0;
    std::vector<Token> initializer;  // empty without "="
};

struct Script {
    std::string file;
    std::vector<Function> functions;  // in file order
    std::vector<Global> globals;      // in file order
    std::vector<Call> globalCalls;    // calls in global initialisers

    const Function* Find(const std::string& name) const;
    std::vector<std::string> FunctionNames() const;
};

// Reads one script (UTF-8, with or without a byte-order mark). Problems are
// appended to out; the result holds whatever could be read.
Script ParseScript(const std::string& file, const std::string& utf8, Diagnostics& out);

struct WindowControl {
    std::string kind;  // 窗口, 按钮, 热键, ...
    std::string name;
    int line = 0;
    std::map<std::string, std::string> properties;
    std::vector<std::pair<std::string, std::string>> events;  // (event, handler)
};

struct WindowFile {
    std::string file;
    std::vector<WindowControl> controls;  // in file order; the closing line is not one

    const WindowControl* Find(const std::string& name) const;
};

// Reads a window description (UTF-8 text; see DecodeUtf16Le for the file's own bytes).
WindowFile ParseWindowFile(const std::string& file, const std::string& utf8, Diagnostics& out);

// The whole-program checks over one generated file set.
class ProjectChecker {
public:
    void AddScript(Script script);
    // The window file binds its handlers to functions of mainScriptFile.
    void SetWindow(WindowFile window, std::string mainScriptFile);

    Diagnostics Check() const;

private:
    std::vector<Script> scripts_;
    WindowFile window_;
    std::string mainScriptFile_;
    bool hasWindow_ = false;
};

struct Builtin {
    const char* english;
    const char* chinese;
};

// The KX built-ins the templates may call, each with its two spellings.
const std::vector<Builtin>& Builtins();
bool IsBuiltin(const std::string& name);
// True for both spellings of the English name given.
bool IsBuiltinNamed(const std::string& name, const std::string& english);

// Text as the checker wants it: UTF-8 without a byte-order mark. The flag says
// whether there was one.
std::string StripUtf8Bom(const std::string& bytes, bool* hadBom = nullptr);
// UTF-16LE bytes (with or without FF FE) to UTF-8; unpaired surrogates and an
// odd length are reported through ok.
std::string DecodeUtf16Le(const std::string& bytes, bool* hadBom, bool* ok);

// The shape of an expression made of texts joined with "&": every string
// literal is its value and every other operand becomes "{}". A call shows as
// "{}" too. Used to compare messages that are built from pieces.
std::string ConcatenationShape(const std::vector<Token>& expression);
// The shapes of every text expression in a function's body that holds a
// string literal, in order.
std::vector<std::string> TextShapes(const Function& function);
// The calls of a function to the given callee (either spelling of a built-in).
std::vector<const Call*> CallsTo(const Function& function, const std::string& callee);

}  // namespace kx::script
