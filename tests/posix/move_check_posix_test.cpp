// POSIX: what stops a move of a folder's entries to the trash is found
// before anything moves, by a check that changes nothing, as root and as a
// user without privileges; and the move then changes nothing either.
#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "FolderCleanup.h"
#include "posix/InChild.h"
#include "posix/InodeFlags.h"
#include "posix/PosixFiles.h"
#include "posix/ScopedEnvironment.h"
#include "posix/TreeState.h"
#include "support/ScopedMount.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::ScopedMount;
using test::SetInodeFlags;

// Everything below path back to plain: no flags, owned by root, writable.
void Release(const std::string& path) {
    SetInodeFlags(path, FS_IMMUTABLE_FL | FS_APPEND_FL, false);
    ::chmod(path.c_str(), 0700);
    for (const std::string& name : test::ListNativeFolder(path)) Release(path + "/" + name);
}

void ChangeOwnerBelow(const std::string& path, uid_t uid, gid_t gid) {
    ::lchown(path.c_str(), uid, gid);
    for (const std::string& name : test::ListNativeFolder(path)) ChangeOwnerBelow(path + "/" + name, uid, gid);
}

// The user the unprivileged runs are made as.
const passwd* Nobody() { return ::getpwnam("nobody"); }

// A temporary folder with a project folder demo in it, a folder outside
// beside it, and the home trash $XDG_DATA_HOME/Trash below it (not made),
// all of it the given user's.
//   demo/a.txt  demo/sub/b.txt  demo/sub/inner/c.txt  outside/precious.txt
struct World {
    World(uid_t owner, gid_t group) : uid(owner), gid(group) {
        env.Set("XDG_DATA_HOME", NativePath(temp.Child("xdg")));
        Fill(project);
        EXPECT_TRUE(test::MakeFolderWithFile(temp.Child("outside"), "precious.txt", "keep"));
        ::chmod(NativePath(temp.Path()).c_str(), 0755);
        HandOver(NativePath(temp.Path()));
    }
    ~World() {
        mounts.clear();
        Release(NativePath(temp.Path()));
    }
    static void Fill(const AnsiString& project) {
        for (const char* folder : {"", "/sub", "/sub/inner"}) {
            if (!test::FolderExists(project + folder)) {
                EXPECT_TRUE(test::MakeFolder(project + folder));
            }
        }
        EXPECT_TRUE(test::WriteFileBytes(project + "/a.txt", "old a"));
        EXPECT_TRUE(test::WriteFileBytes(project + "/sub/b.txt", "old b"));
        EXPECT_TRUE(test::WriteFileBytes(project + "/sub/inner/c.txt", "old c"));
    }
    void HandOver(const std::string& path) const {
        if (uid != ::geteuid()) ChangeOwnerBelow(path, uid, gid);
    }
    void Mount(ScopedMount mount) {
        if (!mount.Mounted()) skip = mount.Reason();
        mounts.push_back(std::move(mount));
    }
    void Flag(const std::string& relative, int flag) {
        if (skip.empty() && !SetInodeFlags(nativeProject + "/" + relative, flag, true)) {
            skip = "cannot set inode flags on " + relative + " here (file system or capability)";
        }
    }

    const uid_t uid;
    const gid_t gid;
    test::TempFolder temp;
    test::ScopedEnvironment env;
    std::vector<ScopedMount> mounts;
    const AnsiString project = temp.Child("demo");
    const std::string nativeProject = NativePath(project);
    std::string skip;  // why the case cannot be staged here
};

enum class Who { Both, User };

struct Case {
    const char* what;
    Who who;
    // Stages the case in a world that is the run's user's.
    std::function<void(World&)> stage;
    MoveBlock block;
    AnsiString entry;
    int systemError;
};

// The check and the move as text, for a child process to hand back.
std::string Describe(const MoveCheck& check) {
    static const char* const kBlocks[] = {"None",      "NotAFolder", "Unreadable", "OtherMount",
                                          "Unmovable", "HeldOpen",   "NoTrash",    "TrashInside"};
    return kBlocks[static_cast<int>(check.block)] + (" '" + std::string(BytesOf(check.entry)) + "' ") +
           std::to_string(check.systemError);
}
std::string Describe(TrashOutcome outcome) {
    switch (outcome) {
        case TrashOutcome::Moved: return "moved";
        case TrashOutcome::NothingChanged: return "nothing changed";
        case TrashOutcome::PartlyMoved: return "partly moved";
    }
    return "?";
}

// Runs body in a child process, as uid/gid unless that is root, and returns what it wrote.
std::string InChild(uid_t uid, gid_t gid, const std::function<std::string()>& body) {
    const test::ChildRun run = test::RunInChild([&]() -> std::string {
        if (uid != 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)) ::_exit(3);
        return body();
    });
    return run.Ended() ? run.text : "child failed: " + std::to_string(run.status);
}

TEST(MoveCheck, EveryObstacleIsFoundBeforeAnythingMoves) {
    const auto none = [](World&) {};
    const auto bindOutside = [](const std::string& at) {
        return [at](World& w) {
            w.Mount(ScopedMount::Bind(NativePath(w.temp.Child("outside")), w.nativeProject + "/" + at));
        };
    };
    const auto flag = [](const std::string& relative, int inodeFlag) {
        return [relative, inodeFlag](World& w) { w.Flag(relative, inodeFlag); };
    };
    const Case cases[] = {
        {"nothing in the way", Who::Both, none, MoveBlock::None, "", 0},
        {"a folder two levels down is a bind mount of a folder outside", Who::Both, bindOutside("sub/inner"),
         MoveBlock::OtherMount, "sub/inner", 0},
        {"a file three levels down is a bind mount of a file outside", Who::Both,
         [](World& w) {
             w.Mount(ScopedMount::Bind(NativePath(w.temp.Child("outside/precious.txt")),
                                       w.nativeProject + "/sub/inner/c.txt"));
         },
         MoveBlock::OtherMount, "sub/inner/c.txt", 0},
        {"a file system is mounted on a folder of the project", Who::Both,
         [](World& w) { w.Mount(ScopedMount::Tmpfs(w.nativeProject + "/sub", "64k")); }, MoveBlock::OtherMount, "sub",
         0},
        {"the project folder is the top of a mount of its own", Who::Both,
         [](World& w) {
             w.Mount(ScopedMount::Tmpfs(w.nativeProject, "1m"));
             if (w.skip.empty()) World::Fill(w.project);
             w.HandOver(w.nativeProject);
         },
         MoveBlock::TrashInside, "", 0},
        {"an immutable file", Who::Both, flag("a.txt", FS_IMMUTABLE_FL), MoveBlock::Unmovable, "a.txt", 0},
        {"an append-only file", Who::Both, flag("a.txt", FS_APPEND_FL), MoveBlock::Unmovable, "a.txt", 0},
        {"an immutable folder", Who::Both, flag("sub", FS_IMMUTABLE_FL), MoveBlock::Unmovable, "sub", 0},
        {"an immutable file deeper down goes with its folder", Who::Both, flag("sub/b.txt", FS_IMMUTABLE_FL),
         MoveBlock::None, "", 0},
        {"the project folder is immutable", Who::Both, flag("", FS_IMMUTABLE_FL), MoveBlock::Unmovable, "", 0},
        {"the project folder is append-only", Who::Both, flag("", FS_APPEND_FL), MoveBlock::Unmovable, "", 0},
        {"a folder inside cannot be listed", Who::User,
         [](World& w) { ::chmod((w.nativeProject + "/sub/inner").c_str(), 0); }, MoveBlock::Unreadable, "sub/inner",
         EACCES},
        {"another's file in a sticky project folder", Who::User,
         [](World& w) {
             ::lchown(w.nativeProject.c_str(), 0, 0);
             ::chmod(w.nativeProject.c_str(), 01777);
             ::lchown((w.nativeProject + "/a.txt").c_str(), 0, 0);
         },
         MoveBlock::Unmovable, "a.txt", 0},
        {"a folder whose \"..\" cannot be rewritten", Who::User,
         [](World& w) { ::chmod((w.nativeProject + "/sub").c_str(), 0555); }, MoveBlock::Unmovable, "sub", EACCES},
        {"no trash can be made ($XDG_DATA_HOME is a file)", Who::Both,
         [](World& w) { EXPECT_TRUE(test::WriteFileBytes(w.temp.Child("xdg"), "a file")); }, MoveBlock::NoTrash, "",
         ENOTDIR},
    };
    const bool root = ::geteuid() == 0;
    const passwd* nobody = Nobody();
    for (const Case& c : cases) {
        for (const bool asUser : {false, true}) {
            if (!asUser && (c.who == Who::User || !root)) continue;  // the user run is the run without root
            if (asUser && root && nobody == nullptr) continue;
            SCOPED_TRACE(std::string(c.what) + (asUser ? ", as a user" : ", as root"));
            const uid_t uid = asUser && root ? nobody->pw_uid : ::geteuid();
            const gid_t gid = asUser && root ? nobody->pw_gid : ::getegid();
            World world(uid, gid);
            c.stage(world);
            if (!world.skip.empty()) {
                std::printf("skipped \"%s\": %s\n", c.what, world.skip.c_str());
                continue;
            }
            const AnsiString dir = world.project;
            const std::string nativeTemp = NativePath(world.temp.Path());
            const auto before = test::Snapshot(nativeTemp);

            EXPECT_EQ(InChild(uid, gid, [&] { return Describe(CheckFolderContentsMove(dir)); }),
                      Describe(MoveCheck{c.block, c.entry, c.systemError}));
            EXPECT_EQ(test::FirstDifference(before, test::Snapshot(nativeTemp)), "") << "the check changed it";

            const std::string moved = InChild(uid, gid, [&] {
                const TrashResult result = MoveFolderContentsToTrash(dir, true);
                return Describe(result.outcome) + ", " + Describe(result.check);
            });
            if (c.block == MoveBlock::None) {
                EXPECT_EQ(moved, "moved, " + Describe(MoveCheck{}));
                EXPECT_TRUE(test::ListNativeFolder(world.nativeProject).empty());
                EXPECT_EQ(test::ReadFileBytes(world.temp.Child("xdg/Trash/files/sub/inner/c.txt")).value_or(""), "old c");
            } else {
                EXPECT_EQ(moved, "nothing changed, " + Describe(MoveCheck{c.block, c.entry, c.systemError}));
                EXPECT_EQ(test::FirstDifference(before, test::Snapshot(nativeTemp)), "") << "the move changed it";
            }
            EXPECT_EQ(test::ReadFileBytes(world.temp.Child("outside/precious.txt")).value_or(""), "keep");
        }
    }
}

}  // namespace
}  // namespace kx
