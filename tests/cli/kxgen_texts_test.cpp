// kxgen's own words: the command line it reads, the help it lays out within
// 80 columns, and that every text and every ending speaks one language.
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <set>
#include <sstream>

#include "CliOptions.h"
#include "CliTexts.h"
#include "CodePage.h"
#include "EndingMessages.h"
#include "FindingMessages.h"
#include "HelpText.h"
#include "PathSplit.h"
#include "ProjectPaths.h"
#include "TextWidth.h"

namespace kx::cli {
namespace {

const Language kBoth[] = {Language::English, Language::Chinese};

// Lines of the text, without their line ends.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(TextWidth, ColumnsOfCharacters) {
    const struct {
        const char* text;
        std::size_t columns;
    } cases[] = {
        {"", 0},
        {"kxgen --root DIR", 16},
        {"KX项目", 6},                    // CJK ideographs: 2
        {"用法：", 6},                    // fullwidth punctuation: 2
        {"“=”", 5},                      // ambiguous quotes of code page 936: 2
        {"├── demo", 11},                // box drawing: 2 each, as a GBK console draws it
        {"한글", 4},                      // hangul
        {"Ａｂ", 4},                      // fullwidth Latin
        {"ｱｲ", 2},                       // halfwidth katakana stay 1
        {"e\xCC\x81", 1},                // a combining accent takes no column
        {"a\xE2\x80\x8B" "b", 2},        // nor a zero-width space
        {"\xF0\x9F\x98\x80", 2},         // an emoji
        {"\xF0\x9F\x8C\xA1", 1},         // a thermometer (U+1F321) is narrow
        {"caf\xC3\xA9", 4},              // Latin with an accent: 1
        {"\xFF\xFE", 2},                 // bytes that start no character: 1 each
    };
    for (const auto& c : cases) EXPECT_EQ(DisplayWidth(c.text), c.columns) << c.text;
}

struct ParseCase {
    std::vector<std::string> args;
    UsageError error;
    std::string subject;
    // What the options must hold when there is no error.
    std::function<bool(const CliOptions&)> holds;
};

TEST(CommandLine, GroupsValuesAndErrors) {
    const auto none = [](const CliOptions&) { return true; };
    const ParseCase cases[] = {
        {{"-yq", "demo"}, UsageError::None, "",
         [](const CliOptions& o) { return o.yes && o.quiet && *o.name == "demo"; }},
        {{"-qy"}, UsageError::None, "", [](const CliOptions& o) { return o.yes && o.quiet && !o.name; }},
        {{"-yqV"}, UsageError::None, "", [](const CliOptions& o) { return o.yes && o.quiet && o.version; }},
        {{"-yx"}, UsageError::UnknownOption, "-x", none},
        {{"-"}, UsageError::UnknownOption, "-", none},
        {{"--frobnicate"}, UsageError::UnknownOption, "--frobnicate", none},
        {{"--yess"}, UsageError::UnknownOption, "--yess", none},
        {{"--root=a=b"}, UsageError::None, "", [](const CliOptions& o) { return *o.root == "a=b"; }},
        {{"--root", "-q"}, UsageError::None, "", [](const CliOptions& o) { return *o.root == "-q" && !o.quiet; }},
        {{"--root"}, UsageError::MissingValue, "--root", none},
        {{"--root="}, UsageError::EmptyFolder, "--root", none},
        {{"--yes=1"}, UsageError::UnexpectedValue, "--yes", none},
        {{"--name=a", "b"}, UsageError::NameTwice, "b", none},
        {{"a", "--name", "b"}, UsageError::NameTwice, "b", none},
        {{"--", "-q", "--yes"}, UsageError::NameTwice, "--yes", none},
        {{"--", "-q"}, UsageError::None, "", [](const CliOptions& o) { return *o.name == "-q" && !o.quiet; }},
        {{"--check-templates", "a", "--templates", "b"}, UsageError::CommandsTogether, "--templates", none},
        {{"--force"}, UsageError::ForceAlone, "--force", none},
        {{"--export-templates", "t", "--force", "--no-open"}, UsageError::None, "",
         [](const CliOptions& o) { return *o.exportTemplates == "t" && o.force && !o.open; }},
    };
    for (const ParseCase& c : cases) {
        std::string shown;
        for (const std::string& arg : c.args) shown += arg + " ";
        SCOPED_TRACE(shown);
        const ParseResult parsed = ParseCommandLine(c.args);
        EXPECT_EQ(parsed.error, c.error);
        EXPECT_EQ(parsed.subject, c.subject);
        if (c.error == UsageError::None) {
            EXPECT_TRUE(c.holds(parsed.options));
        }
    }
}

TEST(Help, EveryOptionListedAlignedWithin80Columns) {
    for (const Language language : kBoth) {
        const std::string help = HelpText(language);
        const std::vector<std::string> lines = Lines(help);
        for (const std::string& line : lines) EXPECT_LE(DisplayWidth(line), kHelpColumns) << line;
        std::set<std::size_t> descriptionColumns;
        for (const Option& option : Options()) {
            EXPECT_NE(std::string(Pattern(language, Text::Synopsis)).find(option.longName), std::string::npos)
                << option.longName << " is missing from the usage lines";
            const std::string label = "  " + OptionLabel(option, language) + " ";
            const auto starts = [&](const std::string& l) { return l.compare(0, label.size(), label) == 0; };
            const auto line = std::find_if(lines.begin(), lines.end(), starts);
            ASSERT_NE(line, lines.end()) << label;
            const std::size_t text = line->find_first_not_of(' ', label.size());
            descriptionColumns.insert(DisplayWidth(line->substr(0, text)));
        }
        EXPECT_EQ(descriptionColumns.size(), 1u) << "descriptions start in more than one column";
    }
}

// "{key}" placeholders of a pattern.
std::multiset<std::string> Placeholders(const std::string& pattern) {
    std::multiset<std::string> keys;
    static const std::regex placeholder("\\{[a-z]+\\}");
    const std::sregex_iterator end;
    for (auto it = std::sregex_iterator(pattern.begin(), pattern.end(), placeholder); it != end; ++it) {
        keys.insert(it->str());
    }
    return keys;
}

TEST(Texts, BothLanguagesFillTheSamePlaceholders) {
    for (int i = 0; i < static_cast<int>(Text::Count); ++i) {
        const auto text = static_cast<Text>(i);
        EXPECT_EQ(Placeholders(Pattern(Language::English, text)), Placeholders(Pattern(Language::Chinese, text)))
            << "text " << i;
    }
}

// The language a line speaks, names and paths aside. English: no Chinese
// character or punctuation. Chinese: no English word, that is, no run of
// three or more lower-case letters once options ("--root", "-y"), kxgen's
// and the system's own names are taken out.
bool SpeaksEnglish(const std::string& line) {
    // U+3000 to U+9FFF, fullwidth forms, and the quotation marks and ellipsis of Chinese text.
    static const std::regex chinese(
        "[\\xE3-\\xE9][\\x80-\\xBF]{2}|\\xEF\\xBC[\\x80-\\xBF]|\\xE2\\x80[\\x9C\\x9D\\xA6]");
    return !std::regex_search(line, chinese);
}
bool SpeaksChinese(const std::string& line) {
    static const std::regex allowed(
        "--?[a-z][a-z-]*|kxgen|xdg-open|Windows|wpx|\\$ProjectName\\$|[\\w.<>-]*\\.(kxproj|kxwin|kx|dll|txt|lock|merge)\\b");
    static const std::regex englishWord("[a-z]{3,}");
    return !std::regex_search(std::regex_replace(line, allowed, ""), englishWord);
}

void ExpectOneLanguage(Language language, const std::string& text, const std::vector<std::string>& names) {
    static const std::regex placeholder("\\{[a-z]+\\}");
    std::string masked = std::regex_replace(text, placeholder, "<N>");
    for (const std::string& name : names) {
        for (std::size_t at; !name.empty() && (at = masked.find(name)) != std::string::npos;) {
            masked.replace(at, name.size(), "<N>");
        }
    }
    for (const std::string& line : Lines(masked)) {
        if (language == Language::English) {
            EXPECT_TRUE(SpeaksEnglish(line)) << line;
        } else {
            EXPECT_TRUE(SpeaksChinese(line)) << line;
        }
    }
}

TEST(Texts, EachLanguageSpeaksItself) {
    for (const Language language : kBoth) {
        for (int i = 0; i < static_cast<int>(Text::Count); ++i) {
            ExpectOneLanguage(language, Pattern(language, static_cast<Text>(i)), {"KX项目", "demo", "projects"});
        }
        ExpectOneLanguage(language, HelpText(language), {"KX项目", "demo", "projects"});
    }
}

std::string EnglishReason(int) { return "Permission denied"; }
std::string ChineseReason(int) { return "权限不够"; }

const AnsiString kSeparator(1, kPathSeparator);
const AnsiString kRoot = "/r";
const AnsiString kEntry = "sub" + kSeparator + "x";

// An ending of each kind, with each of the details that pick another text.
std::vector<GenerationOutcome> EveryEnding() {
    GenerationOutcome base;
    base.name = "demo";
    base.paths = ProjectPathsFor(kRoot, "demo");
    base.systemError = 13;
    std::vector<GenerationOutcome> endings;
    const auto add = [&](OutcomeKind kind, const std::function<void(GenerationOutcome&)>& detail) {
        GenerationOutcome outcome = base;
        outcome.kind = kind;
        detail(outcome);
        endings.push_back(outcome);
    };
    const auto nothing = [](GenerationOutcome&) {};
    for (int kind = 0; kind <= static_cast<int>(OutcomeKind::WriteFailed); ++kind) {
        add(static_cast<OutcomeKind>(kind), nothing);
    }
    for (WindowsNameRule rule : {WindowsNameRule::ForbiddenCharacter, WindowsNameRule::TrailingDotOrSpace,
                                 WindowsNameRule::ReservedDevice, WindowsNameRule::UndefinedCharacter}) {
        add(OutcomeKind::NameNotCreatable, [rule](GenerationOutcome& o) { o.nameRule = rule; });
    }
    add(OutcomeKind::NameTooLong,
        [](GenerationOutcome& o) { o.tooLong = {false, true, o.paths.projectFile, 300, 255}; });
    for (MoveBlock block : {MoveBlock::NotAFolder, MoveBlock::Unreadable, MoveBlock::OtherMount, MoveBlock::Unmovable,
                            MoveBlock::HeldOpen, MoveBlock::NoTrash, MoveBlock::TrashInside}) {
        add(OutcomeKind::OldFilesKept, [block](GenerationOutcome& o) { o.blocked = {block, kEntry, 13}; });
    }
    for (const FileStep step : {FileStep::Create, FileStep::Write}) {
        add(OutcomeKind::WriteFailed, [step](GenerationOutcome& o) { o.failedFile = {step, o.paths.projectFile, ""}; });
    }
    return endings;
}

TEST(Endings, EveryEndingSpeaksOneLanguage) {
    for (const Language language : kBoth) {
        EndingContext context;
        context.root = Utf8FromAnsi(kRoot);
        context.systemReason = language == Language::English ? EnglishReason : ChineseReason;
        for (const bool given : {false, true}) {
            context.rootGiven = given;
            for (const GenerationOutcome& outcome : EveryEnding()) {
                SCOPED_TRACE(static_cast<int>(outcome.kind));
                const std::string message = EndingMessage(outcome, language, context);
                EXPECT_EQ(message.empty(), outcome.kind == OutcomeKind::Written);
                EXPECT_EQ(message.find('{'), std::string::npos) << message;
                const ProjectPaths& paths = outcome.paths;
                ExpectOneLanguage(language, message,
                                  {Utf8FromAnsi(paths.projectFile), Utf8FromAnsi(paths.buildFolder),
                                   Utf8FromAnsi(paths.folder + kSeparator + kEntry), Utf8FromAnsi(paths.sourceFolder),
                                   Utf8FromAnsi(paths.folder), Utf8FromAnsi(kRoot), "demo"});
            }
        }
        for (const OldFilesPlace place : {OldFilesPlace::Trash, OldFilesPlace::RecycleBin}) {
            ExpectOneLanguage(language, OldFilesMessage({place, "/t", true}, language), {"/t"});
        }
    }
}

TEST(Endings, DetailsReachTheMessage) {
    EndingContext context;
    context.root = "given/root";
    context.systemReason = EnglishReason;
    for (const GenerationOutcome& outcome : EveryEnding()) {
        const std::string message = EndingMessage(outcome, Language::English, context);
        if (outcome.kind == OutcomeKind::NameTooLong && !outcome.tooLong.fits) {
            EXPECT_NE(message.find("300 bytes"), std::string::npos) << message;
            EXPECT_NE(message.find("255"), std::string::npos) << message;
        }
        if (outcome.kind == OutcomeKind::OldFilesKept && outcome.blocked.block == MoveBlock::HeldOpen) {
            const std::string entry = Utf8FromAnsi(outcome.paths.folder + kSeparator + kEntry);
            EXPECT_NE(message.find(entry + " is in use"), std::string::npos) << message;
        }
        if (outcome.kind == OutcomeKind::LockFailed) {
            EXPECT_NE(message.find("given/root" + Utf8FromAnsi(kSeparator) + ".kx-generate.lock"), std::string::npos)
                << message;
            EXPECT_NE(message.find(": Permission denied"), std::string::npos) << message;
        }
    }
}

TEST(Findings, EveryFindingSpeaksOneLanguage) {
    for (const Language language : kBoth) {
        for (int kind = 0; kind <= static_cast<int>(FindingKind::NoTemplateFiles); ++kind) {
            for (const DllDefect dll :
                 {DllDefect::NotPe, DllDefect::NotX86, DllDefect::NotDll, DllDefect::MissingOrdinal}) {
                Finding finding(true, 2, static_cast<FindingKind>(kind), 2);
                finding.dll = dll;
                finding.characters = {0x1F600, 0x200B};
                const std::string message = FindingMessage(finding, language);
                EXPECT_EQ(message.find('{'), std::string::npos) << message;
                ExpectOneLanguage(language, message, {});
            }
        }
    }
}

}  // namespace
}  // namespace kx::cli
