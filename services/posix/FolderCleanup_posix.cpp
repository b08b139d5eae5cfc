// Emptying a folder on POSIX, where there is no shell file operation.
//
// Entries are handled relative to open folder descriptors and never through a
// symbolic link: a link inside is moved or removed as a link, whatever it
// points to, and a folder that is itself a link is refused. An empty or
// relative folder is refused before anything is touched, and so is one that
// the ANSI calls would take for another (IsIntactAnsiPath).
//
// To the trash: everything is looked at first (MoveSurvey.h: every entry at
// every depth, the permissions a move needs, a trash that can take them), so
// that a clean-up that cannot keep the old files changes nothing; then the
// entries are renamed into the trash one by one, each after its info file is
// complete. A stop after the first entry moved is always told as such.
// Nothing is ever deleted for good on this path.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>
#include <optional>
#include <string>
#include <vector>

#include "CodePage.h"
#include "FolderCleanup.h"
#include "MoveSurvey.h"
#include "PathRules.h"
#include "PosixFiles.h"
#include "Trash.h"
#include "UnitFunction.h"

namespace kx {

namespace {

// The names in the folder behind fd, without "." and "..". The descriptor
// stays open and keeps its own position.
bool ListNames(int fd, std::vector<std::string>& names) {
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) return false;
    DIR* dir = ::fdopendir(copy);
    if (dir == nullptr) {
        ::close(copy);
        return false;
    }
    ::rewinddir(dir);
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
        errno = 0;
    }
    const bool ok = errno == 0;
    ::closedir(dir);
    return ok;
}

bool RemoveEntry(int parentFd, const std::string& name);

bool RemoveFolderTree(int parentFd, const std::string& name) {
    // O_NOFOLLOW: should the entry have become a link since it was looked at,
    // the open fails instead of entering the link's target.
    FileDescriptor fd(::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd) return false;
    std::vector<std::string> names;
    bool ok = ListNames(fd.Get(), names);
    for (const std::string& child : names) ok = RemoveEntry(fd.Get(), child) && ok;
    fd.Reset();
    return ::unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) == 0 && ok;
}

bool RemoveEntry(int parentFd, const std::string& name) {
    struct stat st {};
    if (::fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
    if (S_ISDIR(st.st_mode)) return RemoveFolderTree(parentFd, name);
    return ::unlinkat(parentFd, name.c_str(), 0) == 0 || errno == ENOENT;
}

// The folder dir names, opened without following a final link; refused when
// the ANSI calls would read it as another path or it is not absolute.
FileDescriptor OpenFolderItself(const AnsiString& dir, std::string& native) {
    if (!IsIntactAnsiPath(dir)) return FileDescriptor();  // it would name a parent or a sibling
    native = NativePath(dir);
    if (native.empty() || native[0] != '/') return FileDescriptor();  // never relative to the current folder
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    return FileDescriptor(::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// The folder dir names, opened as OpenFolderItself does; the check says why not.
MoveCheck OpenForMove(const AnsiString& dir, std::string& native, FileDescriptor& folder) {
    MoveCheck check;
    folder = OpenFolderItself(dir, native);
    if (folder) return check;
    const int error = native.empty() || native[0] != '/' ? EINVAL : errno;
    // Missing, a link or no folder at all; else there but not to be opened.
    const bool absent = error == EINVAL || error == ENOENT || error == ELOOP || error == ENOTDIR;
    check.block = absent ? MoveBlock::NotAFolder : MoveBlock::Unreadable;
    check.systemError = error;
    return check;
}

// What stopped a move the checks had let through.
MoveCheck MoveStopped(const std::string& name, int error) {
    MoveCheck check;
    switch (error) {
        case EXDEV:
        case EBUSY:
            check.block = MoveBlock::OtherMount;
            break;
        case EPERM:
        case EACCES:
            check.block = MoveBlock::Unmovable;
            break;
        default:  // a full disk, a trash that went away
            check.block = MoveBlock::NoTrash;
            break;
    }
    check.entry = AnsiFromUtf8(name);
    check.systemError = error;
    return check;
}

// The errno for the exception being handled: ENOMEM for memory, else 0.
int ErrorOfException() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    } catch (...) {
        return 0;
    }
}

}  // namespace

namespace {

// Opens dir and surveys it (survey fills the plan: what moves, the folder's
// real path and mount, or what stops the move), then moves each entry of
// plan.moving with moveOne into the trash the survey found. A stop after the
// first entry moved, by an error or an exception, is told as such.
template <typename Survey, typename MoveOne>
TrashResult MoveToTrash(const AnsiString& dir, Survey survey, MoveOne moveOne) {
    TrashResult result;
    // Outside the try: what an exception interrupts must still be told apart.
    bool moving = false;
    bool movedAny = false;
    std::string current;
    try {
        std::string native;
        FileDescriptor folder;
        result.check = OpenForMove(dir, native, folder);
        if (!result.check.Clear()) return result;
        MovePlan plan;
        result.check = survey(folder.Get(), native, plan);
        if (!result.check.Clear()) return result;
        if (plan.moving.empty()) {
            result.outcome = TrashOutcome::Moved;
            return result;
        }

        int error = 0;
        std::optional<Trash> trash = Trash::For(plan.folderPath, plan.mount, error);
        if (!trash) {
            result.check.block = MoveBlock::NoTrash;
            result.check.systemError = error;
            return result;
        }
        result.trashFolder = AnsiFromUtf8(trash->Folder() + "/files");
        moving = true;
        for (const std::string& entry : plan.moving) {
            current = entry;
            const Trash::MoveResult moved = moveOne(*trash, folder.Get(), plan.folderPath, entry);
            if (moved == Trash::MoveResult::Failed) {
                result.check = MoveStopped(entry, errno);
                result.outcome = movedAny ? TrashOutcome::PartlyMoved : TrashOutcome::NothingChanged;
                return result;
            }
            movedAny = movedAny || moved == Trash::MoveResult::Moved;
        }
        result.outcome = TrashOutcome::Moved;
        return result;
    } catch (...) {
        // Whatever flew, what moved before it is in the trash and the rest in place.
        result.outcome = movedAny ? TrashOutcome::PartlyMoved : TrashOutcome::NothingChanged;
        result.check = MoveCheck();
        result.check.block = moving ? MoveBlock::NoTrash : MoveBlock::Unreadable;
        result.check.systemError = ErrorOfException();
        try {
            result.check.entry = AnsiFromUtf8(current);
        } catch (...) {
            // The entry stays unnamed: memory ran out once more.
        }
        return result;
    }
}

std::vector<std::string> NativeRelativePaths(const std::vector<AnsiString>& relativePaths) {
    std::vector<std::string> native;
    native.reserve(relativePaths.size());
    for (const AnsiString& relative : relativePaths) native.push_back(NativePath(relative));
    return native;
}

// What survey finds in dir, opened as the moves open it; changes nothing.
template <typename Survey>
MoveCheck CheckToTrash(const AnsiString& dir, Survey survey) {
    try {
        std::string native;
        FileDescriptor folder;
        const MoveCheck opened = OpenForMove(dir, native, folder);
        if (!opened.Clear()) return opened;
        MovePlan plan;
        return survey(folder.Get(), native, plan);
    } catch (...) {
        MoveCheck check;
        check.block = MoveBlock::Unreadable;
        check.systemError = ErrorOfException();
        return check;
    }
}

}  // namespace

MoveCheck CheckFolderContentsMove(const AnsiString& dir) {
    return CheckToTrash(dir, [](int folder, const std::string& native, MovePlan& plan) {
        return SurveyMove(folder, native, true, plan);
    });
}

TrashResult MoveFolderContentsToTrash(const AnsiString& dir, bool includeSubfolders) {
    return MoveToTrash(
        dir,
        [includeSubfolders](int folder, const std::string& native, MovePlan& plan) {
            return SurveyMove(folder, native, includeSubfolders, plan);
        },
        [](Trash& trash, int folder, const std::string& folderPath, const std::string& name) {
            return trash.Move(folder, folderPath, name);
        });
}

MoveCheck CheckFilesToTrash(const AnsiString& folder, const std::vector<AnsiString>& relativePaths) {
    return CheckToTrash(folder, [&relativePaths](int opened, const std::string& native, MovePlan& plan) {
        return SurveyFileMoves(opened, native, NativeRelativePaths(relativePaths), plan);
    });
}

TrashResult MoveFilesToTrash(const AnsiString& folder, const std::vector<AnsiString>& relativePaths) {
    return MoveToTrash(
        folder,
        [&relativePaths](int opened, const std::string& native, MovePlan& plan) {
            return SurveyFileMoves(opened, native, NativeRelativePaths(relativePaths), plan);
        },
        [](Trash& trash, int opened, const std::string& folderPath, const std::string& relative) {
            std::string name;
            const FileDescriptor parent = OpenParentOf(opened, relative, name);
            if (!parent) return errno == ENOENT ? Trash::MoveResult::Gone : Trash::MoveResult::Failed;
            const std::size_t slash = relative.rfind('/');
            return trash.Move(parent.Get(),
                              slash == std::string::npos ? folderPath : folderPath + "/" + relative.substr(0, slash),
                              name);
        });
}

bool DeleteFolderContents(const AnsiString& dir, bool includeSubfolders, bool toRecycleBin) {
    // The recycle bin asked for means no permanent delete, whatever happens.
    if (toRecycleBin) return MoveFolderContentsToTrash(dir, includeSubfolders).outcome == TrashOutcome::Moved;
    try {
        std::string native;
        FileDescriptor folder = OpenFolderItself(dir, native);
        if (!folder) return false;
        std::vector<std::string> names;
        if (!ListNames(folder.Get(), names)) return false;

        // The deletion goes on past an entry that cannot be deleted; the
        // result is true when nothing was left behind.
        bool ok = true;
        for (const std::string& name : names) {
            struct stat st {};
            if (::fstatat(folder.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno != ENOENT) ok = false;
                continue;
            }
            if (!includeSubfolders && S_ISDIR(st.st_mode)) continue;
            ok = RemoveEntry(folder.Get(), name) && ok;
        }
        return ok;
    } catch (...) {
        return false;
    }
}

}  // namespace kx
