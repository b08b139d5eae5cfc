// The workflow driven into each failure it anticipates, with the exact
// outcome: which message, which files stay, which are never written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "GenerateProject.h"
#include "Texts.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"
#include "support/WorkflowTest.h"

namespace kx {
namespace {

using test::JoinPath;
using test::Stop;

using FaultInjectionTest = test::WorkflowTest;

TEST_F(FaultInjectionTest, AnOutputRootWhoseParentIsMissingIsNotCreated) {
    const AnsiString deeper = JoinPath(temp.Child("missing"), texts::kOutputRootName);
    test::FixedHost deepHost(deeper);
    dialogs.promptAnswers = {AnsiString("demo")};
    outcome = GenerateProject(dialogs, deepHost);

    EXPECT_TRUE(dialogs.events.empty()) << "it ends before the prompt";
    EXPECT_EQ(test::EventOfReport(outcome), Stop(texts::kOutputRootFailed));
    EXPECT_FALSE(test::PathExists(temp.Child("missing"))) << "one level only, never the parents";
    EXPECT_TRUE(deepHost.opened.empty());
}

TEST_F(FaultInjectionTest, ANameTooLongForItsFilesIsRefusedWithTheWholeNameBeforeAnythingIsWritten) {
    Generate("first");  // the output root exists, with one project
    // Over every platform's limit for one name, and, with ".kxproj" after
    // it, just over the common limit of 255.
    for (const AnsiString& name : {AnsiString(300, 'n'), AnsiString(249, 'n')}) {
        Generate(name);
        EXPECT_EQ(outcome.kind, OutcomeKind::NameTooLong);
        ASSERT_EQ(dialogs.events.size(), 2u);
        EXPECT_EQ(dialogs.events[1], Stop(texts::kOpenQuote + name + texts::kNameTooLongTail));
    }
    EXPECT_EQ(test::ListFolder(outputRoot), std::vector<AnsiString>{"first"});
    EXPECT_EQ(host.opened.size(), 1u);
}

}  // namespace
}  // namespace kx
