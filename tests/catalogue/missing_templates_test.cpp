// A program whose catalogue lacks some templates and the DLL: those files are
// simply missing, the run goes on without a message and still opens the project.
#include <gtest/gtest.h>

#include "GenerateProject.h"
#include "Texts.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

TEST(MissingTemplates, LeaveTheirFilesOutAndTheRunGoesOn) {
    // Built into this program: programe, form, runtimefun; not publicfun, code or the DLL.
    ASSERT_EQ(ReadTextResource("publicfun", "txt"), "");
    ASSERT_NE(ReadTextResource("form", "txt"), "");

    test::TempFolder temp;
    const AnsiString root = temp.Child(texts::kOutputRootName);
    test::FixedHost host(root);
    test::ScriptedDialogs dialogs;
    dialogs.promptAnswers = {AnsiString("demo")};
    EXPECT_EQ(GenerateProject(dialogs, host).kind, OutcomeKind::Written);
    EXPECT_EQ(dialogs.events.size(), 1u) << "only the name prompt";
    ASSERT_EQ(host.opened.size(), 1u);
    const AnsiString source = test::JoinPath(test::JoinPath(root, "demo"), "demo");
    EXPECT_EQ(test::ListFolder(source),
              (std::vector<AnsiString>{"demo.kx", "main.kxwin", texts::kKeyScriptFile, texts::kRuntimeFunFile}));
    EXPECT_EQ(test::ListFolder(test::JoinPath(test::JoinPath(root, "demo"), texts::kBuildFolderName)),
              std::vector<AnsiString>{});

    // Without its template the main script is the GUID line alone.
    const std::string script = test::ReadFileBytes(test::JoinPath(source, "demo.kx")).value_or("");
    EXPECT_EQ(script.size(), 3u + 53u);
    EXPECT_EQ(script.substr(3, 12), "var MyGUID=\"");
    EXPECT_EQ(script.substr(script.size() - 4), "}\"\r\n");
}

}  // namespace
}  // namespace kx
