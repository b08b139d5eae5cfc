// The whole generate workflow with fuzzed names and scripted answers, in a
// private world: a folder above the program, the program's folder, and an
// output root holding a sibling project and a project to regenerate (with
// links pointing out of it). After every press, everything outside
// root/<name> must be exactly as before: no entry created, changed or removed.
//
// Input: one byte of flags, then the typed name.
//   bit 0: cancel the name prompt (the proposed name is used)
//   bit 1: press Generate twice with the same answer
//   bit 2: answer OK to the regenerate question (else Cancel)
#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <optional>

#include "CodePage.h"
#include "FuzzSupport.h"
#include "GenerateProject.h"
#include "ProjectName.h"
#include "Texts.h"
#include "TreeSnapshot.h"
#include "posix/PosixFiles.h"
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

class World {
public:
    World() {
        char pattern[] = "/tmp/kx-fuzz-XXXXXX";
        KX_FUZZ_CHECK(::mkdtemp(pattern) != nullptr);
        top_ = pattern;
        base_ = top_ + "/world";
        // Regenerations move the old files to a trash of our own.
        ::setenv("XDG_DATA_HOME", (top_ + "/xdg").c_str(), 1);
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

    // Puts everything back as it was, after a press changed a project of the
    // world itself (the sibling or the one made to be regenerated).
    void Build() {
        RemoveTree(base_);
        RemoveTree(top_ + "/xdg");
        const std::string root = base_ + "/" + rootRelative_;
        Folder(base_);
        Write(base_ + "/above.txt", "the folder above the program");
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
        baseline_ = kx::fuzz::SnapshotTree(base_);
    }

    void EmptyTrash() { RemoveTree(top_ + "/xdg"); }

private:
    std::string top_;
    std::string base_;
    std::string rootRelative_;
    AnsiString outputRoot_;
    kx::fuzz::TreeSnapshot baseline_;
};

bool IsCaption(const AnsiString& caption) {
    return caption == kx::texts::kError || caption == kx::texts::kNotice;
}

void Press(World& world, const std::optional<AnsiString>& answer, int boxAnswer) {
    kx::test::ScriptedDialogs dialogs;
    dialogs.promptAnswers = {answer};
    dialogs.boxAnswers = {boxAnswer};
    kx::test::FixedHost host(world.OutputRoot());
    try {
        kx::GenerateProject(dialogs, host);
    } catch (const kx::KxError&) {
        // The front end's error display takes these; the tree check below
        // still has to hold.
    }
    for (const auto& event : dialogs.events) {
        if (event.kind == "box") KX_FUZZ_CHECK(IsCaption(event.caption));
    }
    if (!host.opened.empty()) {
        const AnsiString name = kx::TrimName(answer.value_or(dialogs.events.front().preset));
        KX_FUZZ_CHECK(host.opened.size() == 1);
        KX_FUZZ_CHECK(host.opened[0] == world.OutputRoot() + "\\" + name + "\\" + name + ".kxproj");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static World world;
    kx::fuzz::FuzzInput input(data, size);
    const unsigned char flags = input.Byte();
    const std::optional<AnsiString> answer =
        (flags & 1) ? std::nullopt : std::optional<AnsiString>(input.Rest());
    const int boxAnswer = (flags & 4) ? kx::texts::kOk : 2;

    Press(world, answer, boxAnswer);
    if (flags & 2) Press(world, answer, boxAnswer);

    // Where the press was allowed to write: root/<name>, for a usable name only.
    const AnsiString name = kx::TrimName(answer.value_or(kx::DefaultProjectName(kx::test::FixedHost("").Today())));
    std::string allowed;
    if (kx::CheckProjectName(name) == kx::NameVerdict::Usable) {
        const std::string component = kx::NativePath(name);
        KX_FUZZ_CHECK(!component.empty() && component.find('/') == std::string::npos);
        KX_FUZZ_CHECK(component != "." && component != "..");
        allowed = world.RootRelative() + "/" + component;
    }
    const kx::fuzz::TreeSnapshot after = kx::fuzz::SnapshotTree(world.Base());
    const std::string changed = kx::fuzz::FirstDifference(world.Baseline(), after, [&](const std::string& path) {
        return !allowed.empty() &&
               (path == allowed || (path.size() > allowed.size() && path.compare(0, allowed.size(), allowed) == 0 &&
                                    path[allowed.size()] == '/'));
    });
    if (!changed.empty()) std::fprintf(stderr, "touched outside the project folder: %s\n", changed.c_str());
    KX_FUZZ_CHECK(changed.empty());

    // Back to the starting world for the next input.
    if (!allowed.empty()) {
        if (world.Baseline().count(allowed) != 0) {
            world.Build();
        } else {
            RemoveTree(world.Base() + "/" + allowed);
        }
    }
    world.EmptyTrash();
    return 0;
}
