// Windows: a regeneration never destroys old files without the user's
// consent, never follows a link or junction, writes only regular files and
// runs one at a time.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "FileSystem.h"
#include "FolderCleanup.h"
#include "GenerateProject.h"
#include "GenerationLock.h"
#include "Texts.h"
#include "support/ScriptedPorts.h"
#include "support/ShellPromptAnswerer.h"
#include "support/TempFolder.h"
#include "support/WorkflowTest.h"

namespace kx {
namespace {

using test::DialogEvent;
using test::JoinPath;
using test::Prompt;
using test::Stop;
using test::TempFolder;

// A symbolic link to a folder or file, where the platform lets us make one
// and shows it as the reparse point it is (Wine makes a Unix link that it
// reports as an ordinary folder or file: there is nothing to test then).
std::string MakeLink(const std::string& link, const std::string& target, bool folder) {
    if (!CreateSymbolicLinkA(link.c_str(), target.c_str(), folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0)) {
        return "no symbolic links here (error " + std::to_string(GetLastError()) + ")";
    }
    const DWORD attributes = GetFileAttributesA(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        RemoveDirectoryA(link.c_str());
        DeleteFileA(link.c_str());
        return "the link made here is not shown as a reparse point";
    }
    return std::string();
}

class RegenerationWin32Test : public test::WorkflowTest {
protected:
    std::vector<DialogEvent> PromptThen(const DialogEvent& box) const {
        return {Prompt("wpx2026_12_07"), box};
    }
};

TEST_F(RegenerationWin32Test, RegeneratingMovesTheOldFilesToTheRecycleBinAndSaysSo) {
    Generate("demo");
    const AnsiString mine = JoinPath(JoinPath(outputRoot, "demo"), "mine-" + NewGuidText() + ".txt");
    ASSERT_TRUE(test::WriteFileBytes(mine, "my work"));
    {
        test::ShellPromptAnswerer no(IDNO);
        Generate("demo", true);
        EXPECT_TRUE(no.Seen().empty()) << "nothing needed the user's consent";
    }
    EXPECT_EQ(host.opened.size(), 2u);
    EXPECT_EQ(outcome.oldFiles.place, OldFilesPlace::RecycleBin);
    EXPECT_FALSE(outcome.oldFiles.someDeletedForGood);
    EXPECT_FALSE(test::PathExists(mine));
}

TEST_F(RegenerationWin32Test, AProjectFolderThatIsALinkIsNeverEnteredOrEmptied) {
    const std::string elsewhere = temp.Child("elsewhere");
    ASSERT_TRUE(test::MakeFolderWithFile(elsewhere, "precious.txt", "keep"));
    ASSERT_TRUE(test::MakeFolder(outputRoot));
    const std::string link = JoinPath(outputRoot, "demo");
    const std::string why = MakeLink(link, elsewhere, true);
    if (!why.empty()) GTEST_SKIP() << why;

    EXPECT_TRUE(IsLinkOrJunction(link));
    EXPECT_FALSE(IsLinkOrJunction(elsewhere));
    for (bool toRecycleBin : {false, true}) EXPECT_FALSE(DeleteFolderContents(link, true, toRecycleBin));
    EXPECT_EQ(MoveFolderContentsToTrash(link, true).outcome, TrashOutcome::NothingChanged);
    Generate("demo", true);
    EXPECT_EQ(dialogs.events, PromptThen(Stop(texts::kOpenQuote + AnsiString("demo") + texts::kLinkFolderTail)));
    EXPECT_EQ(test::ListFolder(elsewhere), std::vector<std::string>{"precious.txt"});
    EXPECT_EQ(test::ReadFileBytes(JoinPath(elsewhere, "precious.txt")).value_or(""), "keep");
    EXPECT_TRUE(host.opened.empty());
}

TEST(RegularFilesWin32, ALinkOrDeviceInThePlaceOfAFileIsNeverWritten) {
    TempFolder temp;
    const std::string victim = temp.Child("victim.txt");
    ASSERT_TRUE(test::WriteFileBytes(victim, "someone else's file"));
    const struct {
        const char* what;
        std::string path;
        bool needsLink;
    } cases[] = {
        {"a link to a file elsewhere", temp.Child("link.kxproj"), true},
        {"the NUL device", "\\\\.\\NUL", false},
        {"a folder", temp.Child("folder.kx"), false},
    };
    ASSERT_TRUE(test::MakeFolder(temp.Child("folder.kx")));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string why = c.needsLink ? MakeLink(c.path, victim, false) : std::string();
        if (!why.empty()) {
            std::printf("skipped \"%s\": %s\n", c.what, why.c_str());
            continue;
        }
        for (const auto& writer : test::kTextWriters) {
            const std::string error = test::WriterErrorOf(writer.write, c.path);
            EXPECT_EQ(error.rfind("EFCreateError: Cannot create file \"", 0), 0u) << writer.name << ": " << error;
        }
        EXPECT_FALSE(ExtractResourceToFile(c.path, "HUNDRED", "TESTTXT"));
    }
    EXPECT_EQ(test::ReadFileBytes(victim).value_or(""), "someone else's file");
}

TEST(GenerationLockWin32, OneHolderAtATimeAndTheFileGoesWithTheLock) {
    TempFolder temp;
    const std::string lockFile = JoinPath(temp.Path(), kGenerationLockName);
    {
        const GenerationLock first = GenerationLock::Take(temp.Path());
        ASSERT_EQ(first.State(), LockState::Held);
        EXPECT_TRUE(test::PathExists(lockFile));
        EXPECT_EQ(GenerationLock::Take(temp.Path()).State(), LockState::Busy);
    }
    EXPECT_FALSE(test::PathExists(lockFile));
    EXPECT_EQ(GenerationLock::Take(temp.Path()).State(), LockState::Held) << "free again";
    EXPECT_EQ(GenerationLock::Take(temp.Child("missing")).State(), LockState::Failed);
}

}  // namespace
}  // namespace kx
