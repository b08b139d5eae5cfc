// What an update must never do, on both platforms: write anything on a dry
// run or when nothing is new (not even a time stamp), run beside another
// generation or update, or change anything when it refuses. The trash side
// is in posix/update_posix_test.cpp and windows/update_win32_test.cpp.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "GenerationLock.h"
#include "support/UpdateFixture.h"

namespace kx {
namespace {

using test::kUtf8Bom;

class UpdateGuaranteesTest : public test::UpdateFixture {};

TEST_F(UpdateGuaranteesTest, ADryRunOrAnUpdateWithNothingNewWritesNothingAtAll) {
    struct Case {
        const char* what;
        std::function<void(UpdateGuaranteesTest&)> edit;
        bool dryRun;
        UpdateKind kind;  // what the real run would end in, and does with --dry-run
    };
    const Case cases[] = {
        {"nothing new", [](UpdateGuaranteesTest&) {}, false, UpdateKind::NothingNew},
        {"nothing new but the user's edits",
         [](UpdateGuaranteesTest& t) {
             ASSERT_TRUE(test::WriteFileBytes(t.PathIn("demo", "demo/公共库.kx"), kUtf8Bom + "mine\r\n"));
         },
         false, UpdateKind::NothingNew},
        {"a dry run with a change", [](UpdateGuaranteesTest& t) { t.EditTemplate("publicfun", "二", "二 theirs"); },
         true, UpdateKind::Updated},
        {"a dry run with a conflict",
         [](UpdateGuaranteesTest& t) {
             ASSERT_TRUE(test::WriteFileBytes(t.PathIn("demo", "demo/公共库.kx"), kUtf8Bom + "mine\r\n"));
             t.EditTemplate("publicfun", "二", "二 theirs");
         },
         true, UpdateKind::Conflicts},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::RemoveTree(outputRoot);
        const TemplateSet original = templates;
        ASSERT_TRUE(Generate("demo"));
        c.edit(*this);
        // A real run takes the lock, whose file comes and goes in the
        // output root; a dry run takes none and leaves the root as it was.
        const AnsiString looked = c.dryRun ? outputRoot : test::JoinPath(outputRoot, "demo");
        test::Age(looked);
        const auto before = test::TreeOf(looked);

        const UpdateOutcome outcome = Update("demo", c.dryRun);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(test::TreeOf(looked), before);
        if (c.dryRun) {
            EXPECT_EQ(ExitCodeOf(outcome), ExitCodeOf(Update("demo"))) << "the real run ends as the dry run said";
        }
        templates = original;
    }
}

TEST_F(UpdateGuaranteesTest, ADryRunShowsEachChangeAsAUnifiedDiff) {
    ASSERT_TRUE(Generate("demo"));
    EditTemplate("publicfun", "二", "二 theirs");
    const UpdateOutcome outcome = Update("demo", true);
    ASSERT_EQ(outcome.kind, UpdateKind::Updated);
    std::string diffs;
    for (const FileUpdate& file : outcome.files) diffs += file.diff;
    EXPECT_EQ(diffs, std::string("--- a/demo/公共库.kx\n+++ b/demo/公共库.kx\n@@ -1,5 +1,5 @@\n 一\r\n-二\r\n+二 theirs\r\n"
                                " 三\r\n 四\r\n 五\r\n"));
}

TEST_F(UpdateGuaranteesTest, AnUpdateThatCannotGoAheadChangesNothing) {
    struct Case {
        const char* what;
        std::function<void(UpdateGuaranteesTest&)> stage;  // after generating demo with a change in the templates
        AnsiString name;
        UpdateKind kind;
        int exitCode;
    };
    const auto recordBytes = [](UpdateGuaranteesTest& t, const std::function<void(std::string&)>& edit) {
        const AnsiString path = t.PathIn("demo", ".kxgen/record");
        std::string bytes = test::ReadFileBytes(path).value_or("");
        edit(bytes);
        ASSERT_TRUE(test::WriteFileBytes(path, bytes));
    };
    const Case cases[] = {
        {"another generation or update holds the output root", nullptr, "demo", UpdateKind::Busy, 1},
        {"no such project", [](UpdateGuaranteesTest&) {}, "other", UpdateKind::NoProject, 1},
        {"a name that is a path", [](UpdateGuaranteesTest&) {}, "demo/demo", UpdateKind::NameMalformed, 2},
        {"a record in another format",
         [&](UpdateGuaranteesTest& t) { recordBytes(t, [](std::string& b) { b.replace(0, 5, "KXGEN"); }); }, "demo",
         UpdateKind::RecordUnusable, 1},
        {"a recorded text that does not match its hash",
         [&](UpdateGuaranteesTest& t) { recordBytes(t, [](std::string& b) { b.back() = 'X'; }); }, "demo",
         UpdateKind::RecordUnusable, 1},
        {"a record cut short",
         [&](UpdateGuaranteesTest& t) { recordBytes(t, [](std::string& b) { b.pop_back(); }); }, "demo",
         UpdateKind::RecordUnusable, 1},
        {"the record of another project",
         [&](UpdateGuaranteesTest& t) {
             recordBytes(t, [](std::string& b) { b.replace(b.find("\nname demo\n"), 11, "\nname dema\n"); });
         },
         "demo", UpdateKind::RecordUnusable, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::RemoveTree(outputRoot);
        const TemplateSet original = templates;
        ASSERT_TRUE(Generate("demo"));
        EditTemplate("publicfun", "二", "二 theirs");
        std::optional<GenerationLock> other;
        if (c.stage) {
            c.stage(*this);
        } else {
            other.emplace(GenerationLock::Take(outputRoot));
            ASSERT_EQ(other->State(), LockState::Held);
        }
        const AnsiString project = test::JoinPath(outputRoot, "demo");
        test::Age(project);
        const auto before = test::TreeOf(project);

        const UpdateOutcome outcome = Update(c.name);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(ExitCodeOf(outcome), c.exitCode);
        EXPECT_EQ(test::TreeOf(project), before);
        templates = original;
    }
}

}  // namespace
}  // namespace kx
