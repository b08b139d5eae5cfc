// Windows: the clean-up looks at every entry before the shell moves anything,
// and stops before its first change at what could not go; afterwards the
// bin's count tells what the user let the shell destroy.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FolderCleanup.h"
#include "UnitFunction.h"
#include "support/ShellPromptAnswerer.h"
#include "support/TempFolder.h"
#include "win32/FolderEntries.h"
#include "windows/HelperProcess.h"
#include "windows/RecycleBin.h"

namespace kx {
namespace {

using test::ItemsInBin;

using test::HelperProcess;
using test::JoinPath;
using test::TempFolder;

// 乗 is 81 5C: its second byte is a backslash, which no path split may take.
const AnsiString kTrailByteFolder = "\x81\x5C";

// Every entry under folder with its bytes ("<folder>" for folders), by its
// path relative to folder.
void Collect(const AnsiString& folder, const AnsiString& relative, std::map<AnsiString, std::string>& into) {
    for (const AnsiString& name : test::ListFolder(JoinPath(folder, relative))) {
        const AnsiString entry = relative.empty() ? name : relative + "\\" + name;
        const AnsiString path = JoinPath(folder, entry);
        if (test::FolderExists(path)) {
            into[entry] = "<folder>";
            Collect(folder, entry, into);
        } else {
            into[entry] = test::ReadFileBytes(path).value_or("<unreadable>");
        }
    }
}

std::map<AnsiString, std::string> Snapshot(const AnsiString& folder) {
    std::map<AnsiString, std::string> entries;
    Collect(folder, "", entries);
    return entries;
}

// demo\a.txt, demo\sub\b.txt, demo\sub\乗\held.txt
AnsiString MakeProject(const TempFolder& temp) {
    const AnsiString project = temp.Child("demo");
    const AnsiString inner = JoinPath(JoinPath(project, "sub"), kTrailByteFolder);
    EXPECT_TRUE(test::MakeFolderWithFile(project, "a.txt", "a") &&
                test::MakeFolderWithFile(JoinPath(project, "sub"), "b.txt", "b") &&
                test::MakeFolderWithFile(inner, "held.txt", "held"));
    return project;
}

TEST(MoveCheckWin32, WhatCannotGoStopsTheCleanUpBeforeItsFirstChange) {
    const AnsiString deep = "sub\\" + kTrailByteFolder;
    struct Case {
        const char* what;
        AnsiString heldByAnotherProgram;  // relative to the project; empty: none
        AnsiString folder;                // the folder to clean, relative to the project; empty: the project
        bool asGiven;                      // folder passed as it is, not inside the project
        MoveBlock block;
        AnsiString entry;
        int systemError;
    };
    const Case cases[] = {
        {"a file held open", "a.txt", "", false, MoveBlock::HeldOpen, "a.txt", ERROR_SHARING_VIOLATION},
        {"a file held open two folders down", deep + "\\held.txt", "", false, MoveBlock::HeldOpen,
         deep + "\\held.txt", ERROR_SHARING_VIOLATION},
        {"a folder held open", deep, "", false, MoveBlock::HeldOpen, deep, ERROR_SHARING_VIOLATION},
        {"a missing folder", "", "missing", false, MoveBlock::NotAFolder, "", ERROR_FILE_NOT_FOUND},
        {"a file for a folder", "", "a.txt", false, MoveBlock::NotAFolder, "", 0},
        {"a relative folder", "", "demo", true, MoveBlock::NotAFolder, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder temp;
        const AnsiString project = MakeProject(temp);
        const AnsiString folder = c.asGiven ? c.folder : c.folder.empty() ? project : JoinPath(project, c.folder);
        std::unique_ptr<HelperProcess> holder;
        if (!c.heldByAnotherProgram.empty()) {
            holder = std::make_unique<HelperProcess>("hold \"" + JoinPath(project, c.heldByAnotherProgram) + "\"");
            ASSERT_TRUE(holder->Started()) << HelperProcess::DefaultProgram();
            ASSERT_EQ(holder->ReadLine(), "held");
        }
        const std::map<AnsiString, std::string> before = Snapshot(project);
        const long long binBefore = ItemsInBin(project);

        const MoveCheck check = CheckFolderContentsMove(folder);
        EXPECT_EQ(check.block, c.block);
        EXPECT_EQ(check.entry, c.entry) << test::Hex(check.entry);
        EXPECT_EQ(check.systemError, c.systemError);
        test::ShellPromptAnswerer no(IDNO);
        const TrashResult moved = MoveFolderContentsToTrash(folder, true);
        EXPECT_EQ(moved.outcome, TrashOutcome::NothingChanged);
        EXPECT_EQ(moved.check.block, c.block);
        EXPECT_EQ(moved.check.entry, c.entry);
        EXPECT_FALSE(moved.deletedForGood);
        EXPECT_TRUE(no.Seen().empty()) << "the shell was never asked";
        EXPECT_EQ(Snapshot(project), before);
        EXPECT_EQ(ItemsInBin(project), binBefore);
    }
}

// Wine can make neither a junction nor a mounted folder (FSCTL_SET_REPARSE_POINT
// fails with ERROR_NOT_SUPPORTED, CreateSymbolicLinkA makes nothing), so what
// FindFirstFileA would say of them is judged here as data.
TEST(MoveCheckWin32, EntriesAreJudgedByAttributesTagAndOpenError) {
    const struct {
        DWORD attributes;
        DWORD tag;
        EntryKind kind;
    } kinds[] = {
        {FILE_ATTRIBUTE_ARCHIVE, 0, EntryKind::File},
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM, 0, EntryKind::File},
        {FILE_ATTRIBUTE_DIRECTORY, 0, EntryKind::Folder},
        {FILE_ATTRIBUTE_DIRECTORY, IO_REPARSE_TAG_MOUNT_POINT, EntryKind::Folder},  // no reparse point: no tag
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_MOUNT_POINT, EntryKind::OtherMount},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_SYMLINK, EntryKind::Link},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, 0x9000001A /* a cloud file's */, EntryKind::Link},
        {FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_SYMLINK, EntryKind::Link},
        {FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_MOUNT_POINT, EntryKind::Link},
    };
    for (const auto& k : kinds) {
        WIN32_FIND_DATAA found{};
        found.dwFileAttributes = k.attributes;
        found.dwReserved0 = k.tag;
        EXPECT_EQ(KindOfEntry(found), k.kind) << std::hex << k.attributes << " " << k.tag;
    }
    const struct {
        DWORD error;
        MoveBlock block;
    } opens[] = {
        {ERROR_SHARING_VIOLATION, MoveBlock::HeldOpen},
        {ERROR_ACCESS_DENIED, MoveBlock::Unmovable},
        {ERROR_FILENAME_EXCED_RANGE, MoveBlock::Unreadable},
        {ERROR_PATH_NOT_FOUND, MoveBlock::Unreadable},
    };
    for (const auto& o : opens) EXPECT_EQ(BlockOfOpenError(o.error), o.block) << o.error;
}

// A folder made on another file system than the bin's, removed with
// everything in it.
class FolderElsewhere {
public:
    explicit FolderElsewhere(const AnsiString& parent) : path_(parent + "\\kx-test-" + NewGuidText()) {
        made_ = test::FolderExists(parent) && test::MakeFolder(path_);
    }
    ~FolderElsewhere() {
        if (made_) test::RemoveTree(path_);
    }
    FolderElsewhere(const FolderElsewhere&) = delete;
    FolderElsewhere& operator=(const FolderElsewhere&) = delete;
    bool Made() const { return made_; }
    const AnsiString& Path() const { return path_; }

private:
    AnsiString path_;
    bool made_ = false;
};

// Wine's bin is the desktop trash in the prefix; a folder on another Unix
// file system (/dev/shm) is refused by it, and the shell asks whether to
// delete it for good. A file there is copied across and kept.
TEST(RecycleWin32, TheBinsCountTellsWhatTheUserLetTheShellDestroy) {
    TempFolder temp;
    FolderElsewhere elsewhere("Z:\\dev\\shm");
    if (!elsewhere.Made()) GTEST_SKIP() << "no second file system for the bin to refuse (Wine's Z:\\dev\\shm)";
    const struct {
        const char* what;
        AnsiString base;
        int answer;
        bool asked;
        bool subStays;
        bool deletedForGood;
    } cases[] = {
        {"the bin takes all", temp.Path(), IDNO, false, false, false},
        {"the bin refuses sub, the user says yes", elsewhere.Path(), IDYES, true, false, true},
        {"the bin refuses sub, the user says no", elsewhere.Path(), IDNO, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const AnsiString project = JoinPath(c.base, "demo");
        ASSERT_TRUE(test::MakeFolderWithFile(project, "keep.txt", "k") &&
                    test::MakeFolderWithFile(JoinPath(project, "sub"), "inner.txt", "i"));
        ASSERT_TRUE(CheckFolderContentsMove(project).Clear());
        TrashResult result;
        std::vector<std::string> asked;  // the dialogs' texts
        {
            test::ShellPromptAnswerer answer(c.answer);
            result = MoveFolderContentsToTrash(project, true);
            asked = answer.Seen();
        }
        if (c.asked && asked.empty()) GTEST_SKIP() << "the bin took a folder from Z:\\dev\\shm: one file system here";
        EXPECT_EQ(asked.size(), c.asked ? 1u : 0u);
        EXPECT_EQ(result.deletedForGood, c.deletedForGood);
        EXPECT_EQ(test::FolderExists(JoinPath(project, "sub")), c.subStays);
        if (c.subStays) {
            // The shell may have come to sub before keep.txt (Wine stops after No).
            const bool keepMoved = !test::FileExists(JoinPath(project, "keep.txt"));
            EXPECT_EQ(result.outcome, keepMoved ? TrashOutcome::PartlyMoved : TrashOutcome::NothingChanged);
            EXPECT_EQ(result.check.block, MoveBlock::NoTrash);
            EXPECT_EQ(result.check.entry, "sub");
        } else {
            EXPECT_EQ(result.outcome, TrashOutcome::Moved);
            EXPECT_EQ(test::ListFolder(project), std::vector<AnsiString>{});
        }
        EXPECT_TRUE(test::RemoveTree(project));
    }
}

}  // namespace
}  // namespace kx
