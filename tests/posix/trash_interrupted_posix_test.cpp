// POSIX: a move to the trash stopped anywhere (killed, an exception, a
// failing step) loses nothing and leaves no info file a trash reader cannot
// read: each entry is in place, or in files/ with a complete info file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "CodePage.h"
#include "FolderCleanup.h"
#include "posix/ScopedEnvironment.h"
#include "posix/Trash.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

namespace fs = std::filesystem;

// What an entry is: its kind and bytes (a folder: its file's bytes; a link: its target).
std::string SignatureOf(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return "<none>";
    if (S_ISLNK(st.st_mode)) return "link:" + fs::read_symlink(path).string();
    if (S_ISDIR(st.st_mode)) return "folder:" + test::ReadFileBytes(AnsiFromUtf8(path + "/x.txt")).value_or("?");
    return "file:" + test::ReadFileBytes(AnsiFromUtf8(path)).value_or("?");
}

struct Entry {
    std::string name;  // native
    std::string signature;
};

// A project folder filled anew, each entry's bytes naming the round.
std::vector<Entry> StageProject(const std::string& project, int round) {
    fs::remove_all(project);
    fs::create_directories(project);
    const std::string tag = " of round " + std::to_string(round);
    EXPECT_TRUE(test::WriteFileBytes(project + "/a.txt", "a" + tag));
    EXPECT_TRUE(test::WriteFileBytes(project + "/b b.txt", "b" + tag));
    EXPECT_TRUE(test::MakeFolderWithFile(project + "/sub", "x.txt", "sub" + tag));
    const std::string chinese = "\xE7\x94\x9F\xE6\x88\x90";  // 生成, as the file system holds it
    fs::create_directory(project + "/" + chinese);
    EXPECT_TRUE(test::WriteFileBytes(AnsiFromUtf8(project + "/" + chinese + "/x.txt"), "chinese" + tag));
    fs::create_symlink("../outside" + tag, project + "/link");
    std::vector<Entry> entries;
    for (const std::string name : {"a.txt", "b b.txt", "sub", "link", chinese.c_str()}) {
        entries.push_back({name, SignatureOf(project + "/" + name)});
    }
    return entries;
}

// The Path= of an info file that is whole and well formed, decoded; nothing otherwise.
std::optional<std::string> ReadInfoStrictly(const std::string& file) {
    const std::optional<std::string> text = test::ReadFileBytes(AnsiFromUtf8(file));
    std::smatch match;
    static const std::regex kShape("\\[Trash Info\\]\nPath=((?:[A-Za-z0-9._~/-]|%[0-9A-F]{2})+)\n"
                                   "DeletionDate=\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}\n");
    if (!text || !std::regex_match(*text, match, kShape)) return std::nullopt;
    std::string decoded;
    const std::string encoded = match[1].str();
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%') {
            decoded += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decoded += encoded[i];
        }
    }
    return decoded;
}

struct Leftovers {
    int orphanInfos = 0;  // complete info files whose entry did not move (yet)
    int temporaries = 0;  // info files a stop left under their temporary name
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The first thing wrong with the trash and the project after a move that
// may have been stopped; empty when all is kept. Files in info/ named in
// earlier are from earlier rounds and only held to being readable.
std::string FirstLoss(const std::string& trash, const std::string& project, const std::vector<Entry>& staged,
                      const std::set<std::string>& earlier, Leftovers& leftovers) {
    const auto inPlace = [&](const std::string& path) {
        for (const Entry& entry : staged) {
            if (path == project + "/" + entry.name && SignatureOf(path) == entry.signature) return true;
        }
        return false;
    };
    std::map<std::string, std::string> infos;  // entry name in files/ -> its old path
    for (const std::string& file : test::ListNativeFolder(trash + "/info")) {
        if (EndsWith(file, ".kxpart")) {
            leftovers.temporaries += earlier.count(file) == 0 ? 1 : 0;
            continue;
        }
        if (!EndsWith(file, ".trashinfo")) return "a stray file in info/: " + file;
        const std::optional<std::string> path = ReadInfoStrictly(trash + "/info/" + file);
        if (!path) return "an empty or half-written info file: " + file;
        const std::string name = file.substr(0, file.size() - 10);
        if (SignatureOf(trash + "/files/" + name) != "<none>") {
            infos[name] = *path;
        } else if (earlier.count(file) == 0) {
            if (!inPlace(*path)) return "an info file for an entry neither moved nor in place: " + file;
            ++leftovers.orphanInfos;
        }
    }
    for (const std::string& name : test::ListNativeFolder(trash + "/files")) {
        if (infos.count(name) == 0) return "an entry in files/ without its info file: " + name;
    }
    for (const Entry& entry : staged) {
        const std::string here = project + "/" + entry.name;
        bool kept = inPlace(here);
        for (const auto& [name, path] : infos) {
            kept = kept || (path == here && SignatureOf(trash + "/files/" + name) == entry.signature);
        }
        if (!kept) return "lost: " + entry.name;
    }
    return std::string();
}

// The killing hook: the child dies before its killAt-th step.
int g_killAt = 0;
int g_steps = 0;
int KillBeforeStep(TrashStep) {
    if (++g_steps == g_killAt) ::raise(SIGKILL);
    return 0;
}

// Runs the move in a child that is killed before its killAt-th step (0:
// never) or, with a delay, that long after it starts; true when it was killed.
bool MoveInAChildKilled(const std::string& project, int killAt, long delayNs) {
    int ready[2];
    if (::pipe(ready) != 0) return false;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        g_steps = 0;
        g_killAt = killAt;
        SetTrashStepHook(&KillBeforeStep);
        const bool told = ::write(ready[1], "r", 1) == 1;
        MoveFolderContentsToTrash(project, true);
        ::_exit(told ? 0 : 1);
    }
    ::close(ready[1]);
    char byte;
    const bool started = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    if (started && delayNs > 0) {
        const timespec delay{0, delayNs};
        ::nanosleep(&delay, nullptr);
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// What a command printed on its standard output and error, as lines.
std::vector<std::string> OutputLines(const std::string& command) {
    std::vector<std::string> lines;
    if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
        char line[4096];
        while (std::fgets(line, sizeof line, pipe)) lines.emplace_back(line);
        ::pclose(pipe);
    }
    return lines;
}

bool Installed(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null").c_str()) == 0;
}

TEST(TrashInterrupted, AKillAtAnyStepOrMomentLosesNothingAndLeavesNoUnreadableInfoFile) {
    test::TempFolder temp;
    test::ScopedEnvironment env;
    env.Set("XDG_DATA_HOME", temp.Child("xdg"));
    const std::string project = fs::canonical(temp.Path()).string() + "/demo";
    const std::string trash = temp.Child("xdg/Trash");
    std::set<std::string> earlier;
    Leftovers leftovers;
    int round = 0;
    const auto check = [&](const std::vector<Entry>& staged, const std::string& when) {
        const std::string loss = FirstLoss(trash, project, staged, earlier, leftovers);
        EXPECT_EQ(loss, "") << when;
        for (const std::string& file : test::ListNativeFolder(trash + "/info")) earlier.insert(file);
        return loss.empty();
    };

    // Before each step in turn, until a run gets through; the trash's own
    // folders are made by the first rounds, step by step.
    int stepKills = 0;
    for (int killAt = 1; killAt < 200; ++killAt) {
        const std::vector<Entry> staged = StageProject(project, ++round);
        const bool killed = MoveInAChildKilled(project, killAt, 0);
        if (!check(staged, "killed before step " + std::to_string(killAt))) return;
        if (!killed) break;
        ++stepKills;
    }
    EXPECT_GT(stepKills, 20) << "the steps of five entries";

    // At moments spread over a whole move.
    timespec start{}, end{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    MoveInAChildKilled(project, 0, 0);
    ::clock_gettime(CLOCK_MONOTONIC, &end);
    const long wholeNs = (end.tv_sec - start.tv_sec) * 1000000000L + (end.tv_nsec - start.tv_nsec);
    std::mt19937 random(20261208);
    std::uniform_int_distribution<long> moment(1, wholeNs);
    int momentKills = 0;
    for (int i = 0; i < 40; ++i) {
        const std::vector<Entry> staged = StageProject(project, ++round);
        const long delayNs = moment(random);
        momentKills += MoveInAChildKilled(project, 0, delayNs) ? 1 : 0;
        if (!check(staged, "killed " + std::to_string(delayNs) + " ns after the start")) return;
    }
    std::printf("%d kills before a step, %d at a moment (a move takes %ld us): %d complete info files of entries "
                "still in place, %d temporaries\n",
                stepKills, momentKills, wholeNs / 1000, leftovers.orphanInfos, leftovers.temporaries);

    // A run that gets through removes the temporaries the dead runs left for its names.
    const std::vector<Entry> staged = StageProject(project, ++round);
    EXPECT_FALSE(MoveInAChildKilled(project, 0, 0));
    check(staged, "after a run that got through");
    for (const std::string& file : test::ListNativeFolder(trash + "/info")) {
        EXPECT_FALSE(EndsWith(file, ".kxpart")) << file;
    }

    // Readers nobody here wrote, where they are installed: not one info file
    // they cannot parse, and every entry in files/ with its old path.
    int infoFiles = 0;
    for (const std::string& file : test::ListNativeFolder(trash + "/info")) infoFiles += EndsWith(file, ".trashinfo");
    if (Installed("trash-list")) {
        int listed = 0;
        for (const std::string& line : OutputLines("trash-list")) {
            EXPECT_EQ(line.find(trash), std::string::npos) << "trash-list complains: " << line;
            listed += line.find(" " + project + "/") != std::string::npos ? 1 : 0;
        }
        EXPECT_EQ(listed, infoFiles) << "trash-list lists every info file";
    } else {
        std::printf("trash-list is not installed: the info files were read by this test's reader alone\n");
    }
    const std::vector<std::string> gio = OutputLines("timeout 30 dbus-run-session -- gio trash --list");
    int known = 0;
    for (const std::string& line : gio) known += line.find("\t" + project + "/") != std::string::npos ? 1 : 0;
    if (known > 0) {
        EXPECT_EQ(known, static_cast<int>(test::ListNativeFolder(trash + "/files").size()))
            << "gio knows every entry's path";
    } else {
        std::printf("gio lists no trash here: %s", gio.empty() ? "no output\n" : gio.back().c_str());
    }
}

// A stop after the first entry moved is told as such, whatever stopped it;
// before it, the move says it changed nothing.
TrashStep g_actStep{};  // the step to act at
int g_actAt = 0;        // at which of its occurrences; 0: at every one
int g_error = 0;        // the errno it fails with; 0 throws instead
int g_seen = 0;
int ActAtStep(TrashStep step) {
    if (step != g_actStep || (++g_seen != g_actAt && g_actAt != 0)) return 0;
    if (g_error == 0) throw std::runtime_error("stopped by the test");
    return g_error;
}

TEST(TrashInterrupted, AStopAfterTheFirstMoveIsToldAsPartlyMoved) {
    const struct {
        const char* what;
        TrashStep step;
        int occurrence;
        int error;
        TrashOutcome outcome;
        MoveBlock block;
        std::size_t moved;  // of the five entries
    } cases[] = {
        {"an exception before the first move", TrashStep::MoveEntry, 1, 0, TrashOutcome::NothingChanged,
         MoveBlock::NoTrash, 0},
        {"an exception before the third move", TrashStep::MoveEntry, 3, 0, TrashOutcome::PartlyMoved,
         MoveBlock::NoTrash, 2},
        {"the trash cannot be made", TrashStep::MakeFolder, 1, EACCES, TrashOutcome::NothingChanged, MoveBlock::NoTrash,
         0},
        {"the disk fills up at the first info file", TrashStep::WriteInfo, 1, ENOSPC, TrashOutcome::NothingChanged,
         MoveBlock::NoTrash, 0},
        {"the disk fills up at the second info file", TrashStep::WriteInfo, 2, ENOSPC, TrashOutcome::PartlyMoved,
         MoveBlock::NoTrash, 1},
        {"a mount appears before the second move", TrashStep::MoveEntry, 2, EXDEV, TrashOutcome::PartlyMoved,
         MoveBlock::OtherMount, 1},
        {"permission goes before the fourth move", TrashStep::MoveEntry, 4, EPERM, TrashOutcome::PartlyMoved,
         MoveBlock::Unmovable, 3},
        {"a file system that cannot rename without replacing: info files are linked", TrashStep::NameInfo, 0, EINVAL,
         TrashOutcome::Moved, MoveBlock::None, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder temp;
        test::ScopedEnvironment env;
        env.Set("XDG_DATA_HOME", temp.Child("xdg"));
        const std::string project = fs::canonical(temp.Path()).string() + "/demo";
        const std::vector<Entry> staged = StageProject(project, 1);
        g_actStep = c.step;
        g_actAt = c.occurrence;
        g_error = c.error;
        g_seen = 0;
        SetTrashStepHook(&ActAtStep);
        const TrashResult result = MoveFolderContentsToTrash(project, true);
        SetTrashStepHook(nullptr);

        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.check.block, c.block);
        EXPECT_EQ(result.check.systemError, c.outcome == TrashOutcome::Moved ? 0 : c.error);
        EXPECT_EQ(test::ListNativeFolder(temp.Child("xdg/Trash/files")).size(), c.moved);
        EXPECT_EQ(test::ListNativeFolder(project).size(), staged.size() - c.moved);
        if (c.error != 0 && c.step != TrashStep::MakeFolder && c.outcome != TrashOutcome::Moved) {
            EXPECT_NE(SignatureOf(project + "/" + Utf8FromAnsi(result.check.entry)), "<none>")
                << "the entry named is the one still in place: " << result.check.entry;
        }
        Leftovers leftovers;
        EXPECT_EQ(FirstLoss(temp.Child("xdg/Trash"), project, staged, {}, leftovers), "");
        if (c.error != 0) {
            EXPECT_EQ(leftovers.temporaries, 0) << "a failure takes its temporary away";
        }
    }
}

}  // namespace
}  // namespace kx
