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

using test::Box;
using test::JoinPath;

using FaultInjectionTest = test::WorkflowTest;

TEST_F(FaultInjectionTest, AnOutputRootWhoseParentIsMissingIsNotCreated) {
    const AnsiString deeper = JoinPath(temp.Child("missing"), texts::kOutputRootName);
    test::FixedHost deepHost(deeper);
    dialogs.promptAnswers = {AnsiString("demo")};
    GenerateProject(dialogs, deepHost);

    ASSERT_EQ(dialogs.events.size(), 1u) << "the box comes before the prompt";
    EXPECT_EQ(dialogs.events[0], Box(texts::kOutputRootFailed, texts::kError, 0x10));
    EXPECT_FALSE(test::PathExists(temp.Child("missing"))) << "one level only, never the parents";
    EXPECT_TRUE(deepHost.opened.empty());
}

TEST_F(FaultInjectionTest, ANameTooLongForAFolderGetsTheProjectFolderMessageWithTheWholeName) {
    const AnsiString name(300, 'n');  // over every platform's limit for one name
    Generate("first");                 // the output root exists, with one project
    Generate(name);

    ASSERT_EQ(dialogs.events.size(), 2u);
    EXPECT_EQ(dialogs.events[1], Box(texts::kOpenQuote + name + texts::kFolderFailedTail, texts::kError, 0x10));
    EXPECT_EQ(test::ListFolder(outputRoot), std::vector<AnsiString>{"first"});
    EXPECT_EQ(host.opened.size(), 1u);
}

}  // namespace
}  // namespace kx
