// The checker on small scripts: what it reads, and that it refuses what KX
// would refuse, naming the file and the line.
#include <gtest/gtest.h>

#include "ScriptChecker.h"

namespace kx::script {
namespace {

// Parses each (file, text) and checks them as one set.
Diagnostics CheckSet(const std::vector<std::pair<std::string, std::string>>& files) {
    Diagnostics out;
    ProjectChecker checker;
    for (const auto& [file, text] : files) checker.AddScript(ParseScript(file, text, out));
    const Diagnostics whole = checker.Check();
    out.insert(out.end(), whole.begin(), whole.end());
    return out;
}

Diagnostics CheckOne(const std::string& text) { return CheckSet({{"t.kx", text}}); }

std::string Only(const Diagnostics& diagnostics) {
    std::string all;
    for (const Diagnostic& d : diagnostics) all += d.ToString() + "\n";
    return diagnostics.size() == 1 ? diagnostics[0].ToString() : "expected one diagnostic, got:\n" + all;
}

TEST(ScriptLexer, ReadsStringsNumbersCommentsAndChineseNames) {
    Diagnostics out;
    const auto tokens = Tokenize("t.kx", u8"x = \"a\\\"b\\\\c//d\" & #632 + 12 // \"not a string\r\n变量名", out);
    EXPECT_TRUE(out.empty()) << Only(out);
    ASSERT_EQ(tokens.size(), 10u);
    EXPECT_EQ(tokens[2].kind, TokenKind::String);
    EXPECT_EQ(tokens[2].text, "a\"b\\c//d");
    EXPECT_EQ(NumberValue(tokens[4]), 0x632);
    EXPECT_EQ(NumberValue(tokens[6]), 12);
    EXPECT_EQ(tokens[7].kind, TokenKind::LineEnd);
    EXPECT_EQ(tokens[8].kind, TokenKind::Name);
    EXPECT_EQ(tokens[8].text, u8"变量名");
    EXPECT_EQ(tokens[8].line, 2);
}

TEST(ScriptLexer, KeywordsHaveTwoSpellings) {
    Diagnostics out;
    const auto english = Tokenize("t.kx", "function end var if elseif else while select case default true", out);
    const auto chinese = Tokenize("t.kx", u8"功能 结束 变量 如果 否则如果 否则 循环 选择 条件 默认 真", out);
    ASSERT_EQ(english.size(), chinese.size());
    for (std::size_t i = 0; i + 1 < english.size(); ++i) {
        EXPECT_EQ(english[i].kind, TokenKind::Keyword) << english[i].text;
        EXPECT_EQ(english[i].keyword, chinese[i].keyword) << chinese[i].text;
    }
}

TEST(ScriptLexer, RejectsMalformedText) {
    Diagnostics out;
    Tokenize("t.kx", "a = \"open\r\nb = 1", out);
    EXPECT_EQ(Only(out), "t.kx:1: unterminated string");

    out.clear();
    Tokenize("t.kx", u8"a = f(1，2)", out);  // a full-width comma
    EXPECT_EQ(Only(out), u8"t.kx:1: unexpected character \"，\"");

    out.clear();
    Tokenize("t.kx", "a = #\r\nb = #12G", out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].ToString(), "t.kx:1: \"#\" without hexadecimal digits");
    EXPECT_EQ(out[1].ToString(), "t.kx:2: malformed number \"#12G\"");

    out.clear();
    Tokenize("t.kx", "a = \"\\q\" $", out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].message, "unexpected character \"$\"");
}

// A file cut anywhere (a short write, a broken copy) is reported, never read
// past its end; a cut inside a Chinese name leaves a broken UTF-8 sequence.
TEST(ScriptLexer, TruncatedTextIsReportedWithinItsLines) {
    const std::string text = u8"功能 甲(x = \"文字\")\r\n    返回 x & \"\\\"\" & #1F\r\n结束\r\n";
    Diagnostics full;
    ParseScript("t.kx", text, full);
    ASSERT_TRUE(full.empty()) << Only(full);
    // Every cut before the last end is complete leaves something open or broken.
    for (std::size_t cut = 1; cut + 2 < text.size(); ++cut) {
        Diagnostics out;
        ParseScript("t.kx", text.substr(0, cut), out);
        EXPECT_FALSE(out.empty()) << "cut at " << cut;
        for (const Diagnostic& d : out) EXPECT_TRUE(d.line >= 1 && d.line <= 4) << d.ToString();
    }
    Diagnostics out;
    ParseScript("t.kx", text.substr(0, 4), out);  // "功" and one byte of "能"
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out[0].ToString(), "t.kx:1: invalid UTF-8 byte");
}

TEST(ScriptParser, ListsFunctionsWithParametersInFileOrder) {
    Diagnostics out;
    const Script script = ParseScript("t.kx",
                                      "var g = 1\r\n"
                                      u8"功能 乙(a, &b, c = \"x\", d = -#10, e = 假)\r\n"
                                      u8"    返回 a\r\n"
                                      u8"结束\r\n"
                                      "function a()\r\n"
                                      "end\r\n",
                                      out);
    EXPECT_TRUE(out.empty()) << Only(out);
    EXPECT_EQ(script.FunctionNames(), (std::vector<std::string>{u8"乙", "a"}));
    const auto& p = script.functions[0].parameters;
    ASSERT_EQ(p.size(), 5u);
    EXPECT_TRUE(p[1].byReference);
    EXPECT_FALSE(p[0].hasDefault);
    EXPECT_EQ(p[2].defaultValue.text, "x");
    EXPECT_EQ(p[3].defaultValue.text, "-#10");
    EXPECT_EQ(p[4].defaultValue.keyword, Keyword::False);
    EXPECT_TRUE(script.functions[0].returnsValue);
    EXPECT_FALSE(script.functions[1].returnsValue);
    EXPECT_EQ(script.functions[0].line, 2);
    EXPECT_EQ(script.functions[0].endLine, 4);
    ASSERT_EQ(script.globals.size(), 1u);
    EXPECT_EQ(script.globals[0].name, "g");
}

TEST(ScriptParser, MissingEndNamesTheBlockAndItsLine) {
    EXPECT_EQ(Only(CheckOne("function f()\r\n"
                            "    if(1)\r\n"
                            "        f()\r\n"
                            "end\r\n")),
              "t.kx:1: missing end for function f opened at line 1 at the end of the file");
    // A following function shows where the end went missing.
    EXPECT_EQ(Only(CheckOne("function f()\r\n"
                            "    while(1)\r\n"
                            "    end\r\n"
                            "function g()\r\n"
                            "end\r\n")),
              "t.kx:1: missing end for function f opened at line 1 (still open at the function on line 4)");
}

TEST(ScriptParser, MisplacedBlockKeywords) {
    EXPECT_EQ(Only(CheckOne("end\r\n")), "t.kx:1: end without an open block");
    EXPECT_EQ(Only(CheckOne("function f()\r\n  else\r\nend\r\n")), "t.kx:2: else outside an if block");
    EXPECT_EQ(Only(CheckOne("function f()\r\n  if(1)\r\n  else\r\n  elseif(2)\r\n  end\r\nend\r\n")),
              "t.kx:4: elseif after else in the if block opened at line 2");
    EXPECT_EQ(Only(CheckOne("function f()\r\n  if(1)\r\n    case 1\r\n  end\r\nend\r\n")),
              "t.kx:3: case outside a select block");
    EXPECT_EQ(Only(CheckOne("function f()\r\n  break\r\nend\r\n")), "t.kx:2: break outside a while loop");
    EXPECT_EQ(Only(CheckOne("f()\r\n")), "t.kx:1: \"f\" outside a function");
    EXPECT_EQ(Only(CheckOne(u8"功能 f()\r\n  返回真\r\n结束\r\n")), u8"t.kx:2: statement \"返回真\" does nothing");
    EXPECT_EQ(Only(CheckOne("function f(a)\r\n  x = f(1]\r\nend\r\n")), "t.kx:2: unmatched \"]\"");
    EXPECT_EQ(Only(CheckOne("function f(a = 1, b)\r\nend\r\n")),
              "t.kx:1: parameter b without a default follows one with a default");
    EXPECT_EQ(Only(CheckOne("function f(a = b)\r\nend\r\n")), "t.kx:1: default of a must be a literal");
}

TEST(ScriptParser, SelectWithCasesAndNestedBlocksIsFine) {
    EXPECT_TRUE(CheckOne(u8"功能 f(x)\r\n"
                         u8"    选择(x)\r\n"
                         u8"        条件 1\r\n"
                         u8"            循环(x > 0)\r\n"
                         u8"                如果(x == 3)\r\n"
                         u8"                    跳出\r\n"
                         u8"                否则如果(x == 2)\r\n"
                         u8"                    继续\r\n"
                         u8"                否则\r\n"
                         u8"                    x = x - 1\r\n"
                         u8"                结束\r\n"
                         u8"            结束\r\n"
                         u8"        默认\r\n"
                         u8"            返回 假\r\n"
                         u8"    end\r\n"
                         u8"    return true\r\n"
                         u8"end\r\n")
                    .empty());
}

TEST(ProjectChecker, CallToAnUndefinedFunction) {
    EXPECT_EQ(Only(CheckOne("function f()\r\n  sleep(1)\r\n  obj.Open()\r\n  g(1)\r\nend\r\n")),
              "t.kx:4: call to undefined function g");
}

TEST(ProjectChecker, DuplicateDefinitionAcrossFiles) {
    EXPECT_EQ(Only(CheckSet({{"a.kx", "function f()\r\nend\r\n"}, {"b.kx", "\r\n\r\nfunction f()\r\nend\r\n"}})),
              "b.kx:3: function f is defined twice (first at a.kx:1)");
}

TEST(ProjectChecker, CallsAcrossFilesAndTheirArguments) {
    const std::string library = "function f(a, &b, c = 0)\r\nend\r\n";
    EXPECT_TRUE(CheckSet({{"lib.kx", library}, {"main.kx", "function m()\r\n  f(1, x[2])\r\nend\r\n"}}).empty());
    EXPECT_EQ(Only(CheckSet({{"lib.kx", library}, {"main.kx", "function m()\r\n  f(1)\r\nend\r\n"}})),
              "main.kx:2: f takes 2 to 3 arguments, called with 1");
    EXPECT_EQ(Only(CheckSet({{"lib.kx", library}, {"main.kx", "function m()\r\n  f(1, 2)\r\nend\r\n"}})),
              "main.kx:2: argument 2 of f is passed by reference and must be a variable");
}

TEST(ProjectChecker, DllCallsAndThreads) {
    EXPECT_TRUE(CheckOne("function f()\r\n"
                         "  dllcall(\"user32.dll\", \"long\", \"GetMenu\", \"long\", 0)\r\n"
                         "  threadbegin(\"f\", \"\")\r\n"
                         "end\r\n")
                    .empty());
    EXPECT_EQ(Only(CheckOne("function f()\r\n  dllcall(\"user32.dll\", \"long\", \"GetMenu\", \"long\")\r\nend\r\n")),
              "t.kx:2: dllcall needs a library, a result type, a function name and type and value pairs; "
              "got 4 arguments");
    EXPECT_EQ(Only(CheckOne(u8"功能 f()\r\n  动态库调用(\"user32\", \"long\", \"GetMenu\")\r\n结束\r\n")),
              u8"t.kx:2: library \"user32\" is not a .dll");
    EXPECT_EQ(Only(CheckOne("function f()\r\n  dllcall(\"a.dll\", \"long\", \"G\", \"pshort\", 1)\r\nend\r\n")),
              "t.kx:2: argument 4 of dllcall is not a known type");
    EXPECT_EQ(Only(CheckOne("function f()\r\n  threadbegin(\"g\", \"\")\r\nend\r\n")),
              "t.kx:2: thread starts undefined function g");
}

TEST(ProjectChecker, WindowHandlersMustBeDefinedOnceInTheMainScript) {
    const std::string window = u8"窗口 w \"w\" 0,0,10,10 | 窗口初始化:w_初始化|\r\n"
                               u8"热键 启动 1,1,2,2 虚拟键值:119|| 热键:启动_热键|失去焦点:启动_失去焦点|\r\n"
                               u8"窗口结束\r\n";
    Diagnostics out;
    const WindowFile parsed = ParseWindowFile("main.kxwin", window, out);
    ASSERT_TRUE(out.empty()) << Only(out);
    ASSERT_EQ(parsed.controls.size(), 2u);
    EXPECT_EQ(parsed.controls[1].properties.at(u8"虚拟键值"), "119");

    const auto check = [&](const std::string& mainText, const std::string& otherText) {
        Diagnostics found;
        ProjectChecker checker;
        checker.AddScript(ParseScript("w.kx", mainText, found));
        checker.AddScript(ParseScript("lib.kx", otherText, found));
        checker.SetWindow(parsed, "w.kx");
        const Diagnostics whole = checker.Check();
        found.insert(found.end(), whole.begin(), whole.end());
        return found;
    };
    const std::string all = u8"function w_初始化()\r\nend\r\nfunction 启动_热键()\r\nend\r\n"
                            u8"function 启动_失去焦点()\r\nend\r\n";
    EXPECT_TRUE(check(all, "").empty());
    EXPECT_EQ(Only(check(u8"function w_初始化()\r\nend\r\nfunction 启动_热键()\r\nend\r\n",
                         u8"function 启动_失去焦点()\r\nend\r\n")),
              u8"main.kxwin:2: handler 启动_失去焦点 of 启动 (失去焦点) is not defined in w.kx");
    const Diagnostics twice = check(all + u8"function w_初始化()\r\nend\r\n", "");
    ASSERT_EQ(twice.size(), 2u) << Only(twice);
    EXPECT_EQ(twice[1].ToString(), u8"main.kxwin:1: handler w_初始化 is defined 2 times in w.kx");
}

TEST(WindowFileReader, RejectsBrokenLines) {
    Diagnostics out;
    ParseWindowFile("main.kxwin", u8"按钮 a \"a\" 1,2,3 | x:y|\r\n窗口结束\r\n", out);
    EXPECT_EQ(Only(out), "main.kxwin:1: malformed control line");
    out.clear();
    ParseWindowFile("main.kxwin", u8"按钮 a \"a\" 1,2,3,4 | x:y|\r\n", out);
    EXPECT_EQ(Only(out), u8"main.kxwin:1: missing 窗口结束");
}

TEST(TextDecoding, Utf16LeWithSurrogatesAndBom) {
    bool bom = false;
    bool ok = false;
    EXPECT_EQ(DecodeUtf16Le(std::string("\xFF\xFE" "A\0" "\x2D\x4E" "\x3D\xD8\x00\xDE", 10), &bom, &ok),
              u8"A中😀");
    EXPECT_TRUE(bom);
    EXPECT_TRUE(ok);
    DecodeUtf16Le(std::string("\x00\xD8" "A", 3), &bom, &ok);
    EXPECT_FALSE(bom);
    EXPECT_FALSE(ok);
    EXPECT_EQ(StripUtf8Bom("\xEF\xBB\xBFx", &bom), "x");
    EXPECT_TRUE(bom);
}

TEST(TextShapes, MessagesBuiltFromPieces) {
    Diagnostics out;
    const Script script = ParseScript("t.kx",
                                      "function f(p)\r\n"
                                      "  var m = \"A\\\"\" & p & \"\\\"B\"\r\n"
                                      "  messagebox(\"x\" & g(p & \"y\") & p[1], \"t\")\r\n"
                                      "end\r\n",
                                      out);
    ASSERT_EQ(script.functions.size(), 1u);
    EXPECT_EQ(TextShapes(script.functions[0]),
              (std::vector<std::string>{"A\"{}\"B", "x{}{}", "t", "{}y"}));
}

}  // namespace
}  // namespace kx::script
