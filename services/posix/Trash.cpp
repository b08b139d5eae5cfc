#include "Trash.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits>

#include "AsciiText.h"

namespace kx {

namespace {

constexpr char kInfoSuffix[] = ".trashinfo";
constexpr std::size_t kInfoSuffixLength = sizeof kInfoSuffix - 1;
// The temporary name of an info file being written: shorter than kInfoSuffix,
// so that it fits wherever the info file's own name does.
constexpr char kPartSuffix[] = ".kxpart";
static_assert(sizeof kPartSuffix <= sizeof kInfoSuffix);
// "." and the decimal digits of the largest number.
constexpr std::size_t kNumberRoom = 1 + 20;
// Far beyond any count of entries, and its double still fits the type.
constexpr unsigned long kLastNumber = std::numeric_limits<unsigned long>::max() / 2;
// Names taken by others between our look and our creation: a few more tries.
constexpr int kRaceRetries = 64;
// Where the file system has no locks: a temporary this old was left by a run
// that was killed, as writing and syncing a hundred bytes never takes that long.
constexpr std::time_t kStaleSeconds = 10 * 60;

TrashStepHook g_stepHook = nullptr;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool RenameWithoutReplacing(int fromFd, const std::string& from, int toFd, const std::string& to) {
    if (::renameat2(fromFd, from.c_str(), toFd, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the flag: look first, as closely as it allows.
    struct stat st {};
    if (::fstatat(toFd, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::renameat(fromFd, from.c_str(), toFd, to.c_str()) == 0;
}

// Gives a complete file in dirFd its own name, never replacing another file
// (EEXIST then). A rename that refuses to replace takes the temporary name
// away in the same step; where the file system cannot rename so, a hard link
// gives the name as atomically and the temporary is left to remove.
bool NameWithoutReplacing(int dirFd, const std::string& temporary, const std::string& name, bool& temporaryLeft) {
    temporaryLeft = false;
    if (TrashStepAllowed(TrashStep::NameInfo) &&
        ::renameat2(dirFd, temporary.c_str(), dirFd, name.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    temporaryLeft = true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    return TrashStepAllowed(TrashStep::LinkInfo) && ::linkat(dirFd, temporary.c_str(), dirFd, name.c_str(), 0) == 0;
}

}  // namespace

void SetTrashStepHook(TrashStepHook hook) { g_stepHook = hook; }

bool TrashStepAllowed(TrashStep step) {
    if (g_stepHook == nullptr) return true;
    const int error = g_stepHook(step);
    if (error == 0) return true;
    errno = error;
    return false;
}

std::string PercentEncodePath(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (unsigned char c : path) {
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                          c == '-' || c == '_' || c == '.' || c == '~' || c == '/';
        if (keep) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kUpperHexDigits[c >> 4];
            out += kUpperHexDigits[c & 0xF];
        }
    }
    return out;
}

std::string TrashInfoText(const std::string& path, const std::tm& localTime) {
    char date[64] = {};
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &localTime);
    return "[Trash Info]\nPath=" + PercentEncodePath(path) + "\nDeletionDate=" + date + "\n";
}

std::string TrashEntryName(const std::string& name, unsigned long number, std::size_t nameMax) {
    if (number == 0) return name;
    const std::size_t room = nameMax > kInfoSuffixLength + kNumberRoom ? nameMax - kInfoSuffixLength - kNumberRoom : 1;
    std::size_t keep = name.size() < room ? name.size() : room;
    while (keep > 0 && keep < name.size() && IsContinuationByte(name[keep])) --keep;
    return name.substr(0, keep) + "." + std::to_string(number);
}

Trash::Trash(std::string folder, std::string topdir, FileDescriptor files, FileDescriptor info)
    : folder_(std::move(folder)), topdir_(std::move(topdir)), files_(std::move(files)), info_(std::move(info)) {
    const long limit = ::fpathconf(info_.Get(), _PC_NAME_MAX);
    if (limit > 0) nameMax_ = static_cast<std::size_t>(limit);
}

bool Trash::InfoTaken(const std::string& entryName) const {
    const std::string infoName = entryName + kInfoSuffix;
    struct stat st {};
    return ::fstatat(info_.Get(), infoName.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT;
}

std::optional<unsigned long> Trash::FreeNumber(const std::string& name, unsigned long from) const {
    // Numbers are handed out one after the other, so those in use form a
    // run: steps that double find a free number past it, and halving the
    // last step finds where it ends. About twice the logarithm of the count
    // of probes, with no listing of info/ and no number read from a name;
    // a gap left by a restored entry may be taken, which is as good.
    const auto taken = [&](unsigned long number) { return InfoTaken(TrashEntryName(name, number, nameMax_)); };
    if (!taken(from)) return from;
    unsigned long inUse = from;
    unsigned long free = from;
    for (unsigned long step = 1;; step *= 2) {
        if (step > kLastNumber - from) return std::nullopt;
        free = from + step;
        if (!taken(free)) break;
        inUse = free;
    }
    while (free - inUse > 1) {
        const unsigned long middle = inUse + (free - inUse) / 2;
        (taken(middle) ? inUse : free) = middle;
    }
    return free;
}

bool Trash::SweepIfLeftOver(const std::string& temporary, bool locked) {
    struct stat st {};
    if (::fstatat(info_.Get(), temporary.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) return false;
    bool leftOver = false;
    if (locked) {
        // Exclusively ours for a moment: no other run is writing, so the
        // temporary is a dead run's. (A failed try drops the shared lock:
        // it is taken again either way.)
        leftOver = ::flock(info_.Get(), LOCK_EX | LOCK_NB) == 0;
        ::flock(info_.Get(), LOCK_SH);
    } else {
        leftOver = st.st_mtime < std::time(nullptr) - kStaleSeconds;
    }
    return leftOver && ::unlinkat(info_.Get(), temporary.c_str(), 0) == 0;
}

Trash::Reservation Trash::Reserve(const std::string& entryName, const std::string& text) {
    // Our temporary exists only while we hold info/ shared; the kernel lets
    // go of it when a run dies. Where the file system has no such locks,
    // age tells a dead run's temporary instead.
    const bool locked = ::flock(info_.Get(), LOCK_SH) == 0;
    struct Unlock {
        int fd;
        bool locked;
        ~Unlock() {
            if (locked) ::flock(fd, LOCK_UN);
        }
    } unlock{info_.Get(), locked};

    const std::string temporary = entryName + kPartSuffix;
    FileDescriptor file;
    for (bool swept = false; !file;) {
        if (!TrashStepAllowed(TrashStep::CreateInfo)) return Reservation::Failed;
        file.Reset(::openat(info_.Get(), temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                            0600));
        if (file) break;
        if (errno != EEXIST) return Reservation::Failed;
        // Another run's temporary: being written right now, or left by a
        // run that was killed, and then ours to remove.
        if (swept || !SweepIfLeftOver(temporary, locked)) return Reservation::Taken;
        swept = true;
    }
    // Durable before it has its name: a crash leaves no empty info file.
    bool ok = TrashStepAllowed(TrashStep::WriteInfo) && WriteAll(file.Get(), text.data(), text.size()) &&
              TrashStepAllowed(TrashStep::SyncInfo) && ::fsync(file.Get()) == 0;
    int error = errno;
    if (!file.Close() && ok) {
        ok = false;
        error = errno;
    }
    bool temporaryLeft = true;
    if (ok) {
        const std::string infoName = entryName + kInfoSuffix;
        ok = NameWithoutReplacing(info_.Get(), temporary, infoName, temporaryLeft);
        error = errno;
    }
    if (temporaryLeft && TrashStepAllowed(TrashStep::RemoveTemporary)) ::unlinkat(info_.Get(), temporary.c_str(), 0);
    if (ok) return Reservation::Made;
    errno = error;
    return error == EEXIST ? Reservation::Taken : Reservation::Failed;
}

Trash::MoveResult Trash::Move(int parentFd, const std::string& parentPath, const std::string& name) {
    std::string original = parentPath == "/" ? "/" + name : parentPath + "/" + name;
    if (!topdir_.empty()) {
        // Top-folder trashes keep the path relative to their top folder.
        if (topdir_ == "/") {
            original.erase(0, 1);
        } else if (original.compare(0, topdir_.size() + 1, topdir_ + "/") == 0) {
            original.erase(0, topdir_.size() + 1);
        }
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    const std::string info = TrashInfoText(original, local);

    // Number 0 is the name alone, when it fits; numbered names start at 2.
    unsigned long from = name.size() + kInfoSuffixLength <= nameMax_ ? 0 : 2;
    for (int attempt = 0; attempt < kRaceRetries; ++attempt) {
        const std::optional<unsigned long> number =
            from == 0 && !InfoTaken(name) ? 0 : FreeNumber(name, from == 0 ? 2 : from);
        if (!number) {
            errno = ENOSPC;
            return MoveResult::Failed;
        }
        from = *number == 0 ? 2 : *number + 1;  // where the next try starts
        const std::string entryName = TrashEntryName(name, *number, nameMax_);
        const Reservation reservation = Reserve(entryName, info);
        if (reservation == Reservation::Taken) continue;
        if (reservation == Reservation::Failed) return MoveResult::Failed;

        if (TrashStepAllowed(TrashStep::MoveEntry) && RenameWithoutReplacing(parentFd, name, files_.Get(), entryName)) {
            return MoveResult::Moved;
        }
        const int error = errno;
        // Nothing moved under this name: its info file goes again.
        const std::string infoName = entryName + kInfoSuffix;
        if (TrashStepAllowed(TrashStep::RemoveInfo)) ::unlinkat(info_.Get(), infoName.c_str(), 0);
        if (error == EEXIST) continue;  // files/ holds an entry without info under that name
        struct stat st {};
        if (error == ENOENT && ::fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT) {
            return MoveResult::Gone;
        }
        errno = error;
        return MoveResult::Failed;
    }
    errno = EEXIST;
    return MoveResult::Failed;
}

}  // namespace kx
