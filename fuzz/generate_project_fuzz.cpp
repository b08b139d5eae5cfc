// The whole generate workflow with fuzzed names and scripted answers, in a
// private world: a folder above the program, the program's folder, an output
// root holding a sibling project, a project to regenerate (with links
// pointing out of it) and a link to a folder elsewhere, and the trash. After
// every press:
//   - everything outside root/<name> and the trash is exactly as before: no
//     entry created, changed or removed (the lock file gone again);
//   - every entry that was in root/<name> before the press (the first press's
//     own files too, when there are two) is either still there unchanged or
//     in the trash, byte for byte, under a name whose info file gives its
//     old path; every info file has its entry and every entry its info file.
//
// Input: one byte of flags, then the typed name.
//   bit 0: cancel the name prompt (the proposed name is used)
//   bit 1: press Generate twice with the same answer
//   bit 2: answer OK to the regenerate question (else Cancel)
//   bit 3: no usable trash ($XDG_DATA_HOME below a plain file)
//   bit 4: root/<name>, when new, is a link to the folder elsewhere
//   bit 5: root/<name>, when it is a project of the world, holds a mount two
//          levels down (the folder elsewhere, bound there), where mounts can
//          be made: the press must end before any change
//   bit 6: likewise with an immutable file in it (chattr +i), where the file
//          system and the user allow one
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <optional>

#include "CodePage.h"
#include "FuzzSupport.h"
#include "GenerateProject.h"
#include "OutcomeTable.h"
#include "ProjectName.h"
#include "Texts.h"
#include "TreeSnapshot.h"
#include "NativePath.h"
#include "posix/ScopedEnvironment.h"
#include "support/ScriptedPorts.h"

namespace {

using kx::AnsiString;

bool RemoveTree(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return true;
    if (S_ISDIR(st.st_mode)) {
        if (DIR* dir = ::opendir(path.c_str())) {
            std::vector<std::string> names;
            while (const dirent* entry = ::readdir(dir)) {
                if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                    names.emplace_back(entry->d_name);
                }
            }
            ::closedir(dir);
            for (const std::string& name : names) RemoveTree(path + "/" + name);
        }
        return ::rmdir(path.c_str()) == 0;
    }
    return ::unlink(path.c_str()) == 0;
}

void Write(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    KX_FUZZ_CHECK(file != nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

void Folder(const std::string& path) { KX_FUZZ_CHECK(::mkdir(path.c_str(), 0755) == 0); }

// Mounts of this process's own, seen by nobody else; false where the process
// may not have them.
bool PrivateMounts() {
    static const bool ok = ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return ok;
}

bool SetImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    int attributes = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &attributes) == 0;
    if (ok) {
        attributes = on ? (attributes | FS_IMMUTABLE_FL) : (attributes & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &attributes) == 0;
    }
    ::close(fd);
    return ok;
}

// An obstacle planted in a project of the world for one input, taken away
// again when the input is done.
class Obstacle {
public:
    Obstacle(const std::string& project, const std::string& elsewhere, unsigned char flags) {
        struct stat st {};
        if (::lstat(project.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
        if ((flags & 32) && PrivateMounts()) {
            const std::string deep = project + "/deep";
            Folder(deep);
            Folder(deep + "/inner");
            if (::mount((elsewhere + "/sub").c_str(), (deep + "/inner").c_str(), nullptr, MS_BIND, nullptr) == 0) {
                mounted_ = deep + "/inner";
            } else {
                RemoveTree(deep);
            }
        }
        if (flags & 64) {
            const std::string file = project + "/locked.txt";
            Write(file, "may not be moved");
            if (SetImmutable(file, true)) {
                immutable_ = file;
            } else {
                ::unlink(file.c_str());
            }
        }
    }
    ~Obstacle() {
        if (!mounted_.empty()) KX_FUZZ_CHECK(::umount2(mounted_.c_str(), MNT_DETACH) == 0);
        if (!immutable_.empty()) KX_FUZZ_CHECK(SetImmutable(immutable_, false));
    }
    Obstacle(const Obstacle&) = delete;
    Obstacle& operator=(const Obstacle&) = delete;

    bool Planted() const { return !mounted_.empty() || !immutable_.empty(); }

private:
    std::string mounted_;
    std::string immutable_;
};

class World {
public:
    World() {
        char pattern[] = "/tmp/kx-fuzz-XXXXXX";
        KX_FUZZ_CHECK(::mkdtemp(pattern) != nullptr);
        top_ = pattern;
        char* real = ::realpath(top_.c_str(), nullptr);
        KX_FUZZ_CHECK(real != nullptr);
        top_ = real;
        std::free(real);
        base_ = top_ + "/world";
        // Regenerations move the old files to a trash of our own, inside the world.
        UseTrash(true);
        const std::string rootNative = base_ + "/app/" + kx::Utf8FromAnsi(kx::texts::kOutputRootName);
        outputRoot_ = kx::AnsiFromUtf8(rootNative);
        rootRelative_ = rootNative.substr(base_.size() + 1);
        Build();
    }
    ~World() { RemoveTree(top_); }

    const AnsiString& OutputRoot() const { return outputRoot_; }
    const std::string& Base() const { return base_; }
    const std::string& RootRelative() const { return rootRelative_; }
    const kx::fuzz::TreeSnapshot& Baseline() const { return baseline_; }
    static constexpr const char* kTrash = "xdg";          // $XDG_DATA_HOME, below the world
    static constexpr const char* kElsewhere = "elsewhere";  // where the links lead

    // The trash in the world, or none: $XDG_DATA_HOME below a plain file.
    void UseTrash(bool usable) { env_.Set("XDG_DATA_HOME", usable ? base_ + "/" + kTrash : base_ + "/above.txt/xdg"); }

    // Puts everything back as it was, after a press changed a project of the
    // world itself (the sibling or the one made to be regenerated).
    void Build() {
        RemoveTree(base_);
        const std::string root = base_ + "/" + rootRelative_;
        Folder(base_);
        Write(base_ + "/above.txt", "the folder above the program");
        Folder(base_ + "/" + kElsewhere);
        Write(base_ + "/" + kElsewhere + "/precious.txt", "someone else's work");
        Folder(base_ + "/" + kElsewhere + "/sub");
        Write(base_ + "/" + kElsewhere + "/sub/deep.txt", "deeper");
        Folder(base_ + "/app");
        Write(base_ + "/app/tool.txt", "beside the program");
        Folder(root);
        Write(root + "/note.txt", "the user's own file in the output root");
        Folder(root + "/sibling");
        Write(root + "/sibling/sibling.kxproj", "sibling project");
        Folder(root + "/sibling/sibling");
        Write(root + "/sibling/sibling/sibling.kx", "sibling script");
        Folder(root + "/demo");
        Write(root + "/demo/demo.kxproj", "old project");
        Folder(root + "/demo/demo");
        Write(root + "/demo/demo/mine.txt", "old work");
        KX_FUZZ_CHECK(::symlink("../../../above.txt", (root + "/demo/to-file").c_str()) == 0);
        KX_FUZZ_CHECK(::symlink("../..", (root + "/demo/to-folder").c_str()) == 0);
        KX_FUZZ_CHECK(::symlink("../../elsewhere", (root + "/linked").c_str()) == 0);
        baseline_ = kx::fuzz::SnapshotTree(base_);
    }

    void EmptyTrash() { RemoveTree(base_ + "/" + kTrash); }

private:
    kx::test::ScopedEnvironment env_;  // the variable as it was comes back with the world
    std::string top_;
    std::string base_;
    std::string rootRelative_;
    AnsiString outputRoot_;
    kx::fuzz::TreeSnapshot baseline_;
};

// One press; the project is opened exactly when it was written, and the
// report of every ending names a box the Windows program can show.
kx::OutcomeKind Press(World& world, const std::optional<AnsiString>& answer, bool regenerate) {
    kx::test::ScriptedDialogs dialogs;
    dialogs.promptAnswers = {answer};
    dialogs.questionAnswers = {regenerate};
    kx::test::FixedHost host(world.OutputRoot());
    const kx::GenerationOutcome outcome = kx::GenerateProject(dialogs, host);
    const kx::OutcomeReport report = kx::ReportFor(outcome);
    KX_FUZZ_CHECK((report.notice == kx::Notice::None) == (outcome.kind == kx::OutcomeKind::Written ||
                                                           outcome.kind == kx::OutcomeKind::Kept));
    KX_FUZZ_CHECK(host.opened.size() == (outcome.kind == kx::OutcomeKind::Written ? 1u : 0u));
    if (outcome.kind == kx::OutcomeKind::Written) {
        const AnsiString name = kx::TrimName(answer.value_or(dialogs.events.front().text));
        KX_FUZZ_CHECK(host.opened[0] == world.OutputRoot() + "/" + name + "/" + name + ".kxproj");
    }
    return outcome.kind;
}

std::string PercentDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool Below(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

// The trash as the snapshot shows it: old absolute path -> names in files/.
std::multimap<std::string, std::string> TrashedEntries(const kx::fuzz::TreeSnapshot& after) {
    const std::string info = std::string(World::kTrash) + "/Trash/info/";
    const std::string files = std::string(World::kTrash) + "/Trash/files/";
    std::multimap<std::string, std::string> trashed;
    for (const auto& [path, state] : after) {
        if (path.compare(0, info.size(), info) != 0) continue;
        const std::string file = path.substr(info.size());
        KX_FUZZ_CHECK(file.size() > 10 && file.compare(file.size() - 10, 10, ".trashinfo") == 0);
        const std::string name = file.substr(0, file.size() - 10);
        KX_FUZZ_CHECK(after.count(files + name) == 1);  // no info without its entry
        const std::string& text = state.content;
        KX_FUZZ_CHECK(text.compare(0, 18, "[Trash Info]\nPath=") == 0);
        const std::size_t end = text.find('\n', 18);
        KX_FUZZ_CHECK(end != std::string::npos && text.compare(end, 14, "\nDeletionDate=") == 0);
        trashed.emplace(PercentDecode(text.substr(18, end - 18)), name);
    }
    for (const auto& [path, state] : after) {
        if (!Below(path, files.substr(0, files.size() - 1)) || path.find('/', files.size()) != std::string::npos) continue;
        KX_FUZZ_CHECK(after.count(info + path.substr(files.size()) + ".trashinfo") == 1);  // no entry without info
    }
    return trashed;
}

// Every entry that was below allowed is in place or in the trash, unchanged.
void CheckOldEntriesKept(const World& world, const std::string& allowed, const kx::fuzz::TreeSnapshot& before,
                         const kx::fuzz::TreeSnapshot& after) {
    const std::multimap<std::string, std::string> trashed = TrashedEntries(after);
    for (const auto& [path, state] : before) {
        if (!Below(path, allowed) || S_ISDIR(state.mode)) continue;
        const auto here = after.find(path);
        if (here != after.end() && here->second == state) continue;
        const std::string inside = path.substr(allowed.size() + 1);
        const std::string top = inside.substr(0, inside.find('/'));
        const std::string rest = inside.substr(top.size());
        bool kept = false;
        const auto range = trashed.equal_range(world.Base() + "/" + allowed + "/" + top);
        for (auto it = range.first; it != range.second && !kept; ++it) {
            const auto there = after.find(std::string(World::kTrash) + "/Trash/files/" + it->second + rest);
            kept = there != after.end() && there->second == state;
        }
        if (!kept) std::fprintf(stderr, "old entry lost: %s\n", path.c_str());
        KX_FUZZ_CHECK(kept);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static World world;
    kx::fuzz::FuzzInput input(data, size);
    const unsigned char flags = input.Byte();
    const std::optional<AnsiString> answer =
        (flags & 1) ? std::nullopt : std::optional<AnsiString>(input.Rest());
    const bool regenerate = (flags & 4) != 0;

    // Where the press was allowed to write: root/<name>, for a usable name only.
    const AnsiString name = kx::TrimName(answer.value_or(kx::DefaultProjectName(kx::test::FixedHost("").Today())));
    std::string allowed;
    if (kx::CheckProjectName(name) == kx::NameVerdict::Usable) {
        const std::string component = kx::NativePath(name);
        KX_FUZZ_CHECK(!component.empty() && component.find('/') == std::string::npos);
        KX_FUZZ_CHECK(component != "." && component != "..");
        allowed = world.RootRelative() + "/" + component;
    }
    const bool linked = (flags & 16) != 0 && !allowed.empty() && world.Baseline().count(allowed) == 0 &&
                        ::symlink("../../elsewhere", (world.Base() + "/" + allowed).c_str()) == 0;
    if (flags & 8) world.UseTrash(false);
    std::optional<Obstacle> obstacle;
    if (!allowed.empty() && (flags & (32 | 64))) {
        obstacle.emplace(world.Base() + "/" + allowed, world.Base() + "/" + World::kElsewhere, flags);
    }
    const bool planted = obstacle && obstacle->Planted();
    const kx::fuzz::TreeSnapshot before =
        linked || planted ? kx::fuzz::SnapshotTree(world.Base()) : world.Baseline();

    // Each press is held to the world as the press before it left it.
    const std::string trash = World::kTrash;
    const auto check = [&](const kx::fuzz::TreeSnapshot& from, const kx::fuzz::TreeSnapshot& to) {
        const std::string changed = kx::fuzz::FirstDifference(from, to, [&](const std::string& path) {
            if (path == trash || Below(path, trash)) return true;  // checked entry by entry below
            return !allowed.empty() && (path == allowed || Below(path, allowed));
        });
        if (!changed.empty()) std::fprintf(stderr, "touched outside the project folder: %s\n", changed.c_str());
        KX_FUZZ_CHECK(changed.empty());
        if (linked) {
            // Through a link nothing is emptied or written: it still leads to the untouched folder.
            KX_FUZZ_CHECK(to.count(allowed) == 1 && to.at(allowed) == from.at(allowed));
        }
        if (!allowed.empty()) CheckOldEntriesKept(world, allowed, from, to);
        if (flags & 8) KX_FUZZ_CHECK(to.count(trash) == 0);
    };
    // An ending that says nothing changed must have changed nothing at all,
    // the project folder and the trash included.
    const auto unchanged = [&](kx::OutcomeKind kind, const kx::fuzz::TreeSnapshot& from,
                               const kx::fuzz::TreeSnapshot& to) {
        if (!kx::ChangedNothing(kind)) return;
        const std::string changed = kx::fuzz::FirstDifference(from, to, [](const std::string&) { return false; });
        if (!changed.empty()) std::fprintf(stderr, "changed by an ending that says nothing changed: %s\n", changed.c_str());
        KX_FUZZ_CHECK(changed.empty());
    };
    const kx::OutcomeKind first = Press(world, answer, regenerate);
    const kx::fuzz::TreeSnapshot between = kx::fuzz::SnapshotTree(world.Base());
    check(before, between);
    unchanged(first, before, between);
    // A mount inside or an entry that may not move is found before anything
    // changes, whatever the answer to the question would have been.
    if (planted) {
        if (!kx::ChangedNothing(first)) std::fprintf(stderr, "a planted obstacle did not stop the press\n");
        KX_FUZZ_CHECK(kx::ChangedNothing(first));
    }
    if (flags & 2) {
        const kx::OutcomeKind second = Press(world, answer, regenerate);
        const kx::fuzz::TreeSnapshot after = kx::fuzz::SnapshotTree(world.Base());
        check(between, after);
        unchanged(second, between, after);
    }

    // Back to the starting world for the next input.
    obstacle.reset();
    world.UseTrash(true);
    if (!allowed.empty()) {
        if (world.Baseline().count(allowed) != 0 || planted) {
            world.Build();
        } else {
            RemoveTree(world.Base() + "/" + allowed);
        }
    }
    world.EmptyTrash();
    return 0;
}
