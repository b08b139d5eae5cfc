// The forms a project name takes inside the generated files, and how the
// place of each placeholder picks one.
#include <gtest/gtest.h>

#include <random>

#include "CodePage.h"
#include "Gbk.h"
#include "KxName.h"
#include "ReplaceAll.h"
#include "SubstituteProjectName.h"
#include "XmlText.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

AnsiString Gbk(const std::string& utf8) { return AnsiFromUtf8(utf8); }

// The forms of a name that meets none of a template's words.
ProjectNameForms Plain(const AnsiString& name) { return {name, KxIdentifierFrom(name)}; }

TEST(KxIdentifierFrom, ReplacesWhatCannotStandInAName) {
    const struct {
        AnsiString name;
        AnsiString identifier;
    } cases[] = {
        // Already names: unchanged.
        {"demo", "demo"},
        {"wpx2026_12_08", "wpx2026_12_08"},
        {Gbk(u8"中文项目"), Gbk(u8"中文项目")},
        {"_1", "_1"},
        {Gbk(u8"α组é"), Gbk(u8"α组é")},          // Greek and accented letters are letters
        {"\x81\x5C", "\x81\x5C"},                    // 乗: its second byte is a backslash
        // ASCII that is not a name character, one "_" each.
        {"a&b", "a_b"},
        {"my project", "my_project"},
        {"v1.2-x", "v1_2_x"},
        {"'q'", "_q_"},
        // A digit may not lead: a "_" goes in front.
        {"2048", "_2048"},
        {Gbk(u8"3号"), Gbk(u8"_3号")},
        // Double-byte punctuation and symbols, one "_" for the whole character.
        {Gbk(u8"自动打怪，v2"), Gbk(u8"自动打怪_v2")},
        {Gbk(u8"（甲）、乙。"), Gbk(u8"_甲__乙_")},
        {Gbk(u8"〇号"), Gbk(u8"_号")},               // U+3007 is in the CJK punctuation block
        {Gbk(u8"ｖ２"), "__"},                       // full-width forms
        {Gbk(u8"·—"), "__"},                         // U+00B7 and U+2014
        // Bytes code page 936 does not make a character of.
        {"a\x80", "a_"},
        {"a\xFF", "a_"},
        {"a\x81", "a_"},        // a lead byte at the end
        {"\x81\x30x", "_x"},    // a lead byte with an undefined second byte: still one character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KxIdentifierFrom(c.name), c.identifier) << Utf8FromAnsi(c.name);
    }
}

TEST(KxName, RuleByCharacterClass) {
    const struct {
        char32_t character;
        bool start;
        bool part;
    } cases[] = {
        {'a', true, true},  {'Z', true, true},   {'_', true, true},    {'7', false, true},
        {'$', false, false}, {' ', false, false}, {'&', false, false}, {0xB7, false, false},
        {0xC0, true, true}, {0x4E2D, true, true}, {0x3041, true, true}, {0x3007, false, false},
        {0x2014, false, false}, {0x2BFF, false, false}, {0x2C00, true, true}, {0xFF0C, false, false},
        {0xFFF0, true, true}, {0xFEFF, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsKxNameStart(c.character), c.start) << std::hex << static_cast<unsigned>(c.character);
        EXPECT_EQ(IsKxNamePart(c.character), c.part) << std::hex << static_cast<unsigned>(c.character);
    }
}

TEST(EscapeXmlText, EscapesTheFiveMarkupCharacters) {
    const struct {
        AnsiString text;
        AnsiString escaped;
    } cases[] = {
        {"demo", "demo"},
        {"a&b", "a&amp;b"},
        {"<x>", "&lt;x&gt;"},
        {"\"q\" 'p'", "&quot;q&quot; &apos;p&apos;"},
        {"&amp;", "&amp;amp;"},
        {Gbk(u8"买&卖"), Gbk(u8"买&amp;卖")},
        {"\x81\x5C\x81\x40", "\x81\x5C\x81\x40"},  // second bytes stay as they are
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeXmlText(c.text), c.escaped) << c.text;
}

TEST(SubstituteProjectName, EachPlaceGetsItsForm) {
    const struct {
        TemplateKind kind;
        AnsiString text;
        AnsiString name;
        AnsiString result;
    } cases[] = {
        {TemplateKind::ProjectFile, "<a t='$ProjectName$'>$ProjectName$.kx</a>", "a&'b",
         "<a t='a&amp;&apos;b'>a&amp;&apos;b.kx</a>"},
        {TemplateKind::ProjectFile, "<!-- \"$ProjectName$\" -->", "a&b", "<!-- \"a&amp;b\" -->"},
        // Window file: quoted is the caption, the rest are names.
        {TemplateKind::WindowFile, "w $ProjectName$ \"$ProjectName$\" 0,0,1,1 | e:$ProjectName$_x|", "my project",
         "w my_project \"my project\" 0,0,1,1 | e:my_project_x|"},
        {TemplateKind::WindowFile, "\"$ProjectName$\"", "\"q\"", "\"'q'\""},
        {TemplateKind::WindowFile, "\"$ProjectName$\r\n$ProjectName$", "a b", "\"a b\r\na_b"},
        {TemplateKind::WindowFile, "// $ProjectName$", "a b", "// a_b"},  // no comments here
        // Script: strings and comments show the name, code names with it.
        {TemplateKind::Script, "var c=\"$ProjectName$\" // $ProjectName$\r\nfunction $ProjectName$_x()", "a&b",
         "var c=\"a&b\" // a&b\r\nfunction a_b_x()"},
        {TemplateKind::Script, "\"\\\"$ProjectName$\\\\\" $ProjectName$", "a\\\"b",
         "\"\\\"a\\\\\\\"b\\\\\" a__b"},
        {TemplateKind::Script, "\"http://x\" $ProjectName$", "a b", "\"http://x\" a_b"},
        {TemplateKind::Script, "// \"\r\n$ProjectName$", "a b", "// \"\r\na_b"},
        {TemplateKind::Script, "\"open\r\n$ProjectName$", "a b", "\"open\r\na_b"},
        // 乗 ends in 0x5C; it neither escapes the quote nor is escaped.
        {TemplateKind::Script, "\"\x81\x5C\" $ProjectName$", "a b", "\"\x81\x5C\" a_b"},
        {TemplateKind::Script, "var c=\"$ProjectName$\"", "a\x81\x5C", "var c=\"a\x81\x5C\""},
        {TemplateKind::Script, "var c=\"$ProjectName$\"", "\x81\x5C\\", "var c=\"\x81\x5C\\\\\""},
        {TemplateKind::WindowFile, "w \"$ProjectName$\"", "\x81\x5C\"", "w \"\x81\x5C'\""},
        {TemplateKind::WindowFile, "\"\x81\x5C\" $ProjectName$", "a b", "\"\x81\x5C\" a_b"},
        // Occurrences as ReplaceAll finds them.
        {TemplateKind::Script, "\x81$ProjectName$ $ProjectName$", "a b", "\x81$ProjectName$ a_b"},
        {TemplateKind::Script, AnsiString("$ProjectName$\0$ProjectName$", 27), "a b",
         AnsiString("a_b\0$ProjectName$", 17)},
        {TemplateKind::Script, "$ProjectName$", "$ProjectName$", "_ProjectName_"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SubstituteProjectName(c.kind, c.text, Plain(c.name)), c.result) << c.text << " / " << c.name;
    }
}

// The name form steers clear of every name a template set gives its own
// things, also of names built from the placeholder.
TEST(NameFormsFor, AddsUnderscoresUntilNoTemplateWordIsMet) {
    const AnsiString window = "w $ProjectName$ \"$ProjectName$\" 0,0,1,1 | init:$ProjectName$_init|\r\n"
                              "button go \"go\" 0,0,1,1 size:3| click:go_click|\r\n"
                              "end\r\n";
    const AnsiString script = "function $ProjectName$_init()\r\nend\r\n  function x_init(a)\r\nend\r\n"
                              "function go_click()\r\nend\r\nfunction helper ()\r\nend\r\n"
                              "// function commented()\r\nvar function_pointer = 1\r\n";
    const TemplateWords words = WordsOfTemplates(window, {script});
    const std::pair<AnsiString, AnsiString> rows[] = {
        {"demo", "demo"},        // plain names stay as they are
        {"go", "go_"},           // a control
        {"button", "button_"},   // a kind word
        {"size", "size_"},       // a property key
        {"click", "click_"},     // an event
        {"go_click", "go_click_"},  // a handler
        {"helper", "helper_"},   // a function
        {"x", "x_"},             // x_init would be a function of the template
        {"x_", "x_"},            // x__init is free
        {"commented", "commented"},  // not a function: the line is a comment
        {"Function", "Function_"},   // a keyword, in any letter case
        {"go click", "go_click_"},   // the name form meets a handler
    };
    for (const auto& [name, identifier] : rows) {
        const ProjectNameForms forms = NameFormsFor(name, words);
        EXPECT_EQ(forms.identifier, identifier) << name;
        EXPECT_EQ(forms.typed, name);
    }
}

TEST(SubstituteProjectName, KxNamesGiveThePlainReplacement) {
    // Quotes, slashes, backslashes, line ends, lead bytes and pieces of the
    // placeholder collide often in short random texts.
    const AnsiString pieces[] = {"$ProjectName$", "$Project", "Name$", "\"", "/", "\\", "\r\n", "\n",
                                 "\x81", "\xD6\xD0", "a", " ", AnsiString(1, '\0')};
    const AnsiString names[] = {"demo", "wpx2026_12_08", Gbk(u8"中文项目"), "_"};
    const TemplateKind kinds[] = {TemplateKind::ProjectFile, TemplateKind::WindowFile, TemplateKind::Script};
    std::mt19937 random(20261208);
    for (int round = 0; round < 5000; ++round) {
        AnsiString text;
        for (std::size_t n = random() % 12; n > 0; --n) text += pieces[random() % std::size(pieces)];
        for (const AnsiString& name : names) {
            for (const TemplateKind kind : kinds) {
                ASSERT_EQ(SubstituteProjectName(kind, text, Plain(name)), ReplaceAll(text, "$ProjectName$", name))
                    << "text: " << text << " kind: " << static_cast<int>(kind);
            }
        }
    }
}

// The place rules read one character at a time, nothing passed over at once:
// the slow reading the substitution must agree with wherever its runs end.
AnsiString ByEveryCharacter(TemplateKind kind, const AnsiString& text, const AnsiString (&forms)[3]) {
    enum { kCode, kQuoted, kComment };
    const std::size_t zero = text.find('\0');
    const AnsiView searched = AnsiView(text).substr(0, zero);
    const AnsiView placeholder = kProjectNamePlaceholder;
    AnsiString out;
    int place = kCode;
    bool escaped = false;
    for (std::size_t pos = 0; pos < searched.size();) {
        if (searched.substr(pos, placeholder.size()) == placeholder) {
            out += forms[place];
            pos += placeholder.size();
            continue;
        }
        const std::size_t length = GbkCharLength(searched, pos);
        const char c = length == 1 ? searched[pos] : '\0';
        if (c == '\r' || c == '\n') {
            place = kCode;
            escaped = false;
        } else if (place == kCode) {
            if (c == '"') place = kQuoted;
            if (kind == TemplateKind::Script && c == '/' && pos + 1 < searched.size() && searched[pos + 1] == '/') {
                place = kComment;
            }
        } else if (place == kQuoted) {
            if (escaped) {
                escaped = false;
            } else if (kind == TemplateKind::Script && c == '\\') {
                escaped = true;
            } else if (c == '"') {
                place = kCode;
            }
        }
        out += searched.substr(pos, length);
        pos += length;
    }
    if (zero != AnsiString::npos) out += text.substr(zero);
    return out;
}

TEST(SubstituteProjectName, RunsPassedOverAtOnceEndWhereTheCharacterReadingStops) {
    // Runs of ASCII longer and shorter than eight bytes, and double-byte
    // characters whose second byte is a backslash (乗) or a letter.
    const AnsiString pieces[] = {"$ProjectName$", "\"", "\\", "//", "/", "\r\n", "\n", "\x81\x5C", "\xD6\xD0",
                                 "\x81\x61", "abcdefg", "abcdefghij", "x", "$", "\x81", AnsiString(1, '\0')};
    // A name whose every form differs: x\y in a string, x\y as typed in a
    // comment and a caption, x_y where KX reads a name.
    const ProjectNameForms forms{"x\\y", "x_y"};
    const struct {
        TemplateKind kind;
        AnsiString byPlace[3];  // code, quoted, comment
    } kinds[] = {
        {TemplateKind::Script, {"x_y", "x\\\\y", "x\\y"}},
        {TemplateKind::WindowFile, {"x_y", "x\\y", "x_y"}},
    };
    std::mt19937 random(20261209);
    for (int round = 0; round < 20000; ++round) {
        AnsiString text;
        for (std::size_t n = random() % 24; n > 0; --n) text += pieces[random() % std::size(pieces)];
        for (const auto& k : kinds) {
            ASSERT_EQ(SubstituteProjectName(k.kind, text, forms), ByEveryCharacter(k.kind, text, k.byPlace))
                << "text: " << text << " kind: " << static_cast<int>(k.kind);
        }
    }
}

}  // namespace
}  // namespace kx
