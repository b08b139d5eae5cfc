// A system whose iconv lacks the code-page modules: every conversion says so
// instead of handing back an empty text, and a generation stops before it
// creates anything, the output root included.
#include <gtest/gtest.h>
#include <errno.h>

#include <functional>

#include "CodePage.h"
#include "GenerateProject.h"
#include "NativePath.h"
#include "UnitFunction.h"
#include "posix/CodePageSeam.h"
#include "support/WorkflowTest.h"

namespace kx {
namespace {

iconv_t NoConverter(const char*, const char*) {
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
}

// iconv without its modules for the lifetime of the object.
class ConvertersMissing {
public:
    ConvertersMissing() : saved_(seams::OpenIconv) { seams::OpenIconv = NoConverter; }
    ~ConvertersMissing() { seams::OpenIconv = saved_; }
    ConvertersMissing(const ConvertersMissing&) = delete;
    ConvertersMissing& operator=(const ConvertersMissing&) = delete;

private:
    iconv_t (*saved_)(const char*, const char*);
};

TEST(ConverterMissing, EveryConversionFailsLoudly) {
    const std::pair<const char*, std::function<void()>> conversions[] = {
        {"EnsureCodePage", [] { EnsureCodePage(); }},
        {"DecodeAnsi", [] { DecodeAnsi("\xD6\xD0", AnsiPage::System); }},
        {"Utf8FromAnsi", [] { Utf8FromAnsi("\xD6\xD0"); }},
        {"AnsiFromUtf8", [] { AnsiFromUtf8("\xE4\xB8\xAD"); }},
        {"AppendAnsiOfUtf8", [] {
             AnsiString out;
             AppendAnsiOfUtf8(out, "\xE4\xB8\xAD");
         }},
        {"NativePath", [] { NativePath("/tmp/KX\xCF\xEE\xC4\xBF/demo"); }},
        {"AnsiToWideText", [] { AnsiToWideText("\xD6\xD0"); }},
        {"Utf8FileBytes", [] { Utf8FileBytes("\xD6\xD0", true); }},
    };
    ConvertersMissing missing;
    for (const auto& [what, convert] : conversions) EXPECT_THROW(convert(), ConversionError) << what;
    // Plain ASCII never needs a converter.
    EXPECT_EQ(Utf8FromAnsi("demo"), "demo");
}

TEST(ConverterMissing, AGenerationStopsBeforeItCreatesAnything) {
    test::TempFolder temp;
    test::FixedHost host(temp.Child("KX"));
    test::ScriptedDialogs dialogs;
    dialogs.promptAnswers = {AnsiString("demo")};
    GenerationOutcome outcome;
    {
        ConvertersMissing missing;
        outcome = GenerateProject(dialogs, host);
    }
    EXPECT_EQ(outcome.kind, OutcomeKind::ConverterFailed);
    ASSERT_TRUE(outcome.error.has_value());
    EXPECT_EQ(outcome.error->Message(), "Cannot convert code page 936 text: no converter from CP936");
    EXPECT_TRUE(dialogs.events.empty()) << "not even the name is asked";
    EXPECT_EQ(test::ListFolder(temp.Path()), std::vector<AnsiString>{});
    EXPECT_TRUE(host.opened.empty());

    // With the converters back, the same press goes through.
    dialogs = {};
    dialogs.promptAnswers = {AnsiString("demo")};
    EXPECT_EQ(GenerateProject(dialogs, host).kind, OutcomeKind::Written);
}

}  // namespace
}  // namespace kx
