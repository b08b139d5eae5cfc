// POSIX: where the old entries of a folder go, and that they either go to a
// trash with a matching info file or stay exactly where they are.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "CodePage.h"
#include "FolderCleanup.h"
#include "UnitFunction.h"
#include "posix/InodeFlags.h"
#include "posix/ScopedEnvironment.h"
#include "posix/TreeState.h"
#include "posix/Trash.h"
#include "support/ScopedMount.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::JoinPath;
using test::ScopedEnvironment;
using test::ScopedMount;
using test::TempFolder;

const std::string kUid = std::to_string(::geteuid());

// The Path= line of an info file, decoded; "<none>" when there is no such file.
std::string InfoPath(const std::string& infoFile) {
    const std::string text = test::ReadFileBytes(infoFile).value_or("");
    std::smatch match;
    if (!std::regex_search(text, match, std::regex("^\\[Trash Info\\]\nPath=([^\n]*)\nDeletionDate=[0-9T:-]{19}\n$"))) {
        return "<none>";
    }
    std::string decoded;
    const std::string encoded = match[1].str();
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%' && i + 2 < encoded.size() + 1) {
            decoded += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decoded += encoded[i];
        }
    }
    return decoded;
}

std::string RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    std::string result = real ? real : path;
    ::free(real);
    return result;
}

// A project folder "demo" with a file and a folder with a file, at place.
void FillProject(const std::string& project) {
    ASSERT_TRUE(test::MakeFolder(project));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(project, "a.txt"), "old a"));
    ASSERT_TRUE(test::MakeFolderWithFile(JoinPath(project, "sub"), "b.txt", "old b"));
}

// ---- where the entries go ---------------------------------------------------

struct World {
    TempFolder temp;
    ScopedEnvironment env;
    std::vector<ScopedMount> mounts;
    std::string skip;  // why the case cannot be staged here

    World() { env.Set("XDG_DATA_HOME", temp.Child("data")); }
    // A mount at temp/<name>, made as the case asks.
    std::string Mount(const std::string& name, const std::function<ScopedMount(const std::string&)>& make) {
        const std::string at = temp.Child(name);
        EXPECT_TRUE(test::MakeFolder(at));
        mounts.push_back(make(at));
        if (!mounts.back().Mounted()) skip = mounts.back().Reason();
        return at;
    }
};

TEST(TrashPlaces, EachMountKeepsTheEntriesInItsOwnTrash) {
    struct Case {
        const char* what;
        // Stages the world; returns the folder the project goes in.
        std::function<std::string(World&)> stage;
        // The trash folder expected, from the folder the project is in.
        std::function<std::string(World&, const std::string& place)> trash;
        bool relativeInfo;  // top-folder trashes hold paths from their top folder
    };
    const auto tmpfs = [](World& w) { return w.Mount("mnt", [](const std::string& at) { return ScopedMount::Tmpfs(at, "1m"); }); };
    const Case cases[] = {
        {"the home trash on the project's own mount", [](World& w) { return w.temp.Path(); },
         [](World& w, const std::string&) { return w.temp.Child("data/Trash"); }, false},
        {"another file system without .Trash", tmpfs,
         [](World&, const std::string& place) { return place + "/.Trash-" + kUid; }, true},
        {"another file system with a sticky .Trash",
         [&](World& w) {
             const std::string at = tmpfs(w);
             if (w.skip.empty()) {
                 EXPECT_EQ(::mkdir((at + "/.Trash").c_str(), 01777), 0);
             }
             ::chmod((at + "/.Trash").c_str(), 01777);
             return at;
         },
         [](World&, const std::string& place) { return place + "/.Trash/" + kUid; }, true},
        {"another file system whose .Trash is not sticky",
         [&](World& w) {
             const std::string at = tmpfs(w);
             if (w.skip.empty()) {
                 EXPECT_EQ(::mkdir((at + "/.Trash").c_str(), 0777), 0);
             }
             return at;
         },
         [](World&, const std::string& place) { return place + "/.Trash-" + kUid; }, true},
        {"another file system whose .Trash is a link to a sticky folder",
         [&](World& w) {
             const std::string at = tmpfs(w);
             if (w.skip.empty()) {
                 EXPECT_EQ(::mkdir((at + "/elsewhere").c_str(), 01777), 0);
                 ::chmod((at + "/elsewhere").c_str(), 01777);
                 EXPECT_EQ(::symlink("elsewhere", (at + "/.Trash").c_str()), 0);
             }
             return at;
         },
         [](World&, const std::string& place) { return place + "/.Trash-" + kUid; }, true},
        {"a bind mount on the same disk (rename cannot cross it)",
         [](World& w) {
             EXPECT_TRUE(test::MakeFolder(w.temp.Child("shown")));
             return w.Mount("bind", [&](const std::string& at) { return ScopedMount::Bind(w.temp.Child("shown"), at); });
         },
         [](World&, const std::string& place) { return place + "/.Trash-" + kUid; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        World world;
        const std::string place = c.stage(world);
        if (!world.skip.empty()) {
            std::printf("skipped \"%s\": %s\n", c.what, world.skip.c_str());
            continue;
        }
        const std::string project = JoinPath(place, "demo");
        FillProject(project);

        const TrashResult result = MoveFolderContentsToTrash(project, true);
        const std::string trash = c.trash(world, place);
        EXPECT_EQ(result.outcome, TrashOutcome::Moved);
        EXPECT_EQ(result.trashFolder, trash + "/files");
        EXPECT_TRUE(test::ListFolder(project).empty());
        EXPECT_EQ(test::ReadFileBytes(trash + "/files/a.txt").value_or("<missing>"), "old a");
        EXPECT_EQ(test::ReadFileBytes(trash + "/files/sub/b.txt").value_or("<missing>"), "old b");
        const std::string top = RealPath(place);
        EXPECT_EQ(InfoPath(trash + "/info/a.txt.trashinfo"), c.relativeInfo ? "demo/a.txt" : RealPath(project) + "/a.txt");
        EXPECT_EQ(InfoPath(trash + "/info/sub.trashinfo"), c.relativeInfo ? "demo/sub" : RealPath(project) + "/sub");
        if (c.relativeInfo) {
            struct stat st {};
            ASSERT_EQ(::lstat(trash.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0700u);
            EXPECT_EQ(st.st_uid, ::geteuid());
        }
        EXPECT_FALSE(test::PathExists(top + "/.Trash-" + kUid) && trash != top + "/.Trash-" + kUid)
            << "one trash only";
    }
}

// ---- when nothing can keep them ---------------------------------------------

bool MakeImmutable(const std::string& path, bool on) { return test::SetInodeFlags(path, FS_IMMUTABLE_FL, on); }

TEST(TrashPlaces, WithoutAUsableTrashNothingChanges) {
    struct Case {
        const char* what;
        std::function<void(World&)> stage;  // sets w.skip when it cannot be staged
        std::function<void(World&)> undo;
    };
    const auto none = [](World&) {};
    const Case cases[] = {
        {"$XDG_DATA_HOME is a file", [](World& w) { ASSERT_TRUE(test::WriteFileBytes(w.temp.Child("data"), "f")); }, none},
        {"$XDG_DATA_HOME lies below a file",
         [](World& w) {
             ASSERT_TRUE(test::WriteFileBytes(w.temp.Child("file"), "f"));
             w.env.Set("XDG_DATA_HOME", w.temp.Child("file/data"));
         },
         none},
        {"$XDG_DATA_HOME cannot be written",
         [](World& w) {
             ASSERT_TRUE(test::MakeFolder(w.temp.Child("data")));
             if (::geteuid() != 0) {
                 ASSERT_EQ(::chmod(w.temp.Child("data").c_str(), 0500), 0);
             } else if (!MakeImmutable(w.temp.Child("data"), true)) {
                 w.skip = "cannot make a folder unwritable for root here";
             }
         },
         [](World& w) {
             ::chmod(w.temp.Child("data").c_str(), 0700);
             MakeImmutable(w.temp.Child("data"), false);
         }},
        {"no $XDG_DATA_HOME and $HOME missing",
         [](World& w) {
             w.env.Unset("XDG_DATA_HOME");
             w.env.Set("HOME", w.temp.Child("gone"));
         },
         none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        World world;
        const std::string project = world.temp.Child("demo");
        FillProject(project);
        c.stage(world);
        if (!world.skip.empty()) {
            std::printf("skipped \"%s\": %s\n", c.what, world.skip.c_str());
            c.undo(world);
            continue;
        }
        const std::vector<std::string> before = test::ListFolder(project);

        const TrashResult result = MoveFolderContentsToTrash(project, true);
        const bool deleted = DeleteFolderContents(project, true, true);
        c.undo(world);
        world.mounts.clear();

        EXPECT_EQ(result.outcome, TrashOutcome::NothingChanged);
        EXPECT_FALSE(deleted);
        EXPECT_EQ(test::ListFolder(project), before);
        EXPECT_EQ(test::ReadFileBytes(JoinPath(project, "a.txt")).value_or("<missing>"), "old a");
        EXPECT_FALSE(test::PathExists(world.temp.Child("gone"))) << "a missing home is not made";
    }
}

TEST(TrashPlaces, AFullDiskStopsBeforeAnythingMoves) {
    TempFolder temp;
    ScopedEnvironment env;
    env.Set("XDG_DATA_HOME", temp.Child("data"));
    ASSERT_TRUE(test::MakeFolder(temp.Child("mnt")));
    ScopedMount disk = ScopedMount::Tmpfs(temp.Child("mnt"), "64k");
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason();
    const std::string project = temp.Child("mnt/demo");
    FillProject(project);
    // The trash's folders exist already; what is left of the disk is taken.
    ASSERT_TRUE(test::MakeFolder(temp.Child("mnt/.Trash-" + kUid)));
    ASSERT_EQ(::chmod(temp.Child("mnt/.Trash-" + kUid).c_str(), 0700), 0);
    const int filler = ::open(temp.Child("mnt/filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(filler, 0);
    const std::string block(4096, 'f');
    while (::write(filler, block.data(), block.size()) > 0) {
    }
    while (::write(filler, "f", 1) > 0) {
    }
    ::close(filler);

    const TrashResult result = MoveFolderContentsToTrash(project, true);
    EXPECT_EQ(result.outcome, TrashOutcome::NothingChanged);
    EXPECT_EQ(test::ListFolder(project), (std::vector<std::string>{"a.txt", "sub"}));
    EXPECT_EQ(test::ReadFileBytes(JoinPath(project, "sub/b.txt")).value_or("<missing>"), "old b");
    EXPECT_TRUE(test::ListFolder(temp.Child("mnt/.Trash-" + kUid + "/info")).empty()) << "no info file is left over";

    // With room again the same folder goes, whole.
    ASSERT_EQ(::unlink(temp.Child("mnt/filler").c_str()), 0);
    EXPECT_EQ(MoveFolderContentsToTrash(project, true).outcome, TrashOutcome::Moved);
    EXPECT_TRUE(test::ListFolder(project).empty());
    EXPECT_EQ(test::ReadFileBytes(temp.Child("mnt/.Trash-" + kUid + "/files/sub/b.txt")).value_or(""), "old b");
}

// ---- names ---------------------------------------------------------------

TEST(TrashNames, NamesFitTheNameLimitAndTheInfoKeepsTheWholePath) {
    const std::string chinese = AnsiFromUtf8(u8"项");  // 3 bytes on disk, 2 in the program
    const struct {
        const char* what;
        std::string name;  // in the program's code page
    } cases[] = {
        {"246 bytes", std::string(246, 'x')},
        {"255 bytes", std::string(251, 'y') + ".kxp"},
        {"85 Chinese characters (255 bytes on disk)", [&] {
             std::string n;
             for (int i = 0; i < 85; ++i) n += chinese;
             return n;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder temp;
        ScopedEnvironment env;
        env.Set("XDG_DATA_HOME", temp.Child("data"));
        const std::string project = temp.Child("demo");
        ASSERT_TRUE(test::MakeFolder(project));
        const std::string native = Utf8FromAnsi(c.name);
        ASSERT_LE(native.size(), 255u);
        for (const char* content : {"first", "second", "third"}) {
            ASSERT_TRUE(test::WriteFileBytes(JoinPath(project, c.name), content));
            ASSERT_EQ(MoveFolderContentsToTrash(project, true).outcome, TrashOutcome::Moved);
        }
        EXPECT_TRUE(test::ListFolder(project).empty());
        const std::vector<std::string> files = test::ListNativeFolder(temp.Child("data/Trash/files"));
        const std::vector<std::string> infos = test::ListNativeFolder(temp.Child("data/Trash/info"));
        ASSERT_EQ(files.size(), 3u);
        ASSERT_EQ(infos.size(), 3u);
        std::vector<std::string> contents;
        for (const std::string& file : files) {
            EXPECT_LE(file.size() + 10, 255u) << file;
            const AnsiString ansi = AnsiFromUtf8(file);  // the helpers take the program's paths
            EXPECT_EQ(InfoPath(temp.Child("data/Trash/info/" + ansi + ".trashinfo")), RealPath(project) + "/" + native);
            contents.push_back(test::ReadFileBytes(temp.Child("data/Trash/files/" + ansi)).value_or(""));
        }
        std::sort(contents.begin(), contents.end());
        EXPECT_EQ(contents, (std::vector<std::string>{"first", "second", "third"}));
    }
}

// Free names are found by probing info/, never by listing it or reading
// numbers out of names: whatever lies there, an entry gets a name of its own
// and nothing already in the trash is replaced.
TEST(TrashNames, ProbingFindsAFreeNameWhateverTheTrashHolds) {
    const std::string huge = "a.txt.99999999999999999999999999";  // more digits than any integer holds
    const std::string twoTo64 = "a.txt.18446744073709551616";
    std::vector<std::string> run;  // a.txt, a.txt.2 ... a.txt.40
    run.push_back("a.txt");
    for (int n = 2; n <= 40; ++n) run.push_back("a.txt." + std::to_string(n));
    const struct {
        const char* what;
        std::vector<std::string> infos;  // names with an info file
        std::vector<std::string> files;  // entries in files/ without one
        std::vector<std::string> temporaries;  // another run's temporary info files
        bool writing;  // that run still writes (holds info/ shared), else it died
        std::string expected;
    } cases[] = {
        {"the name alone when it is free", {}, {}, {}, false, "a.txt"},
        {"the next number after a run of them", run, {}, {}, false, "a.txt.41"},
        {"a gap in the numbers may be taken", {"a.txt", "a.txt.2", "a.txt.3", "a.txt.5"}, {}, {}, false, "a.txt.4"},
        {"numbers too large to read are no obstacle", {"a.txt", huge, twoTo64, "a.txt.x"}, {twoTo64 + "0"}, {}, false,
         "a.txt.2"},
        {"an entry without its info file is never replaced", {"a.txt"}, {"a.txt.2"}, {}, false, "a.txt.3"},
        {"the temporary of a run that is writing", {"a.txt"}, {}, {"a.txt.2.kxpart"}, true, "a.txt.3"},
        {"a temporary a killed run left is swept", {"a.txt"}, {}, {"a.txt.2.kxpart"}, false, "a.txt.2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder temp;
        ScopedEnvironment env;
        env.Set("XDG_DATA_HOME", temp.Child("data"));
        const std::string trash = temp.Child("data/Trash");
        ASSERT_TRUE(test::MakeFolder(temp.Child("data")) && test::MakeFolder(trash) &&
                    test::MakeFolder(trash + "/files") && test::MakeFolder(trash + "/info"));
        for (const std::string& name : c.infos) {
            ASSERT_TRUE(test::WriteFileBytes(trash + "/info/" + name + ".trashinfo", "[Trash Info]\nPath=/x\n"));
            ASSERT_TRUE(test::WriteFileBytes(trash + "/files/" + name, "in the trash"));
        }
        for (const std::string& name : c.files) ASSERT_TRUE(test::WriteFileBytes(trash + "/files/" + name, "orphan"));
        for (const std::string& name : c.temporaries) {
            ASSERT_TRUE(test::WriteFileBytes(trash + "/info/" + name, "[Trash Info]\n"));
        }
        const int writer = ::open((trash + "/info").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(writer, 0);
        ASSERT_EQ(::flock(writer, c.writing ? LOCK_SH : LOCK_UN), 0);
        const auto before = test::Snapshot(trash);
        const std::string project = temp.Child("demo");
        ASSERT_TRUE(test::MakeFolderWithFile(project, "a.txt", "moving"));

        const TrashOutcome outcome = MoveFolderContentsToTrash(project, true).outcome;
        ::close(writer);
        ASSERT_EQ(outcome, TrashOutcome::Moved);
        EXPECT_EQ(test::ReadFileBytes(trash + "/files/" + c.expected).value_or("<missing>"), "moving");
        EXPECT_EQ(InfoPath(trash + "/info/" + c.expected + ".trashinfo"), RealPath(project) + "/a.txt");
        // Nothing else changed, but for a dead run's temporary, which is gone.
        auto after = test::Snapshot(trash);
        after.erase("/files/" + c.expected);
        after.erase("/info/" + c.expected + ".trashinfo");
        auto expected = before;
        for (const std::string& name : c.temporaries) {
            if (!c.writing) expected.erase("/info/" + name);
        }
        EXPECT_EQ(test::FirstDifference(expected, after), "");
    }
}

TEST(TrashNames, CutNamesKeepWholeCharacters) {
    std::string name;
    for (int i = 0; i < 100; ++i) name += u8"项";  // 300 bytes
    const std::string cut = TrashEntryName(name, 12, 255);
    EXPECT_LE(cut.size() + 10, 255u);
    EXPECT_EQ(cut.substr(cut.size() - 3), ".12");
    const std::string stem = cut.substr(0, cut.size() - 3);
    EXPECT_EQ(stem.size() % 3, 0u) << "cut between characters";
    EXPECT_EQ(name.compare(0, stem.size(), stem), 0);
    EXPECT_EQ(TrashEntryName("a.txt", 0, 255), "a.txt");
    EXPECT_EQ(TrashEntryName("a.txt", 3, 255), "a.txt.3");
}

}  // namespace
}  // namespace kx
