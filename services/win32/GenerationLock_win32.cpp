// The generation lock on Windows: LockFileEx on a hidden lock file that the
// system deletes when its last handle closes.
#include <windows.h>

#include "GenerationLock.h"
#include "PathRules.h"
#include "PathSplit.h"

namespace kx {

GenerationLock GenerationLock::Take(const AnsiString& folder) {
    const AnsiString path = folder + kPathSeparator + kGenerationLockName;
    if (!IsIntactAnsiPath(folder)) return GenerationLock(LockState::Failed, -1, path, ERROR_INVALID_NAME);
    // Every handle must allow deletion, as the first one deletes on close;
    // the reparse point itself is opened, never what it points to.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // A file that is being deleted by the holder before us refuses to
        // open, as does one held without sharing: both mean someone else.
        const DWORD error = GetLastError();
        const bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
        return GenerationLock(busy ? LockState::Busy : LockState::Failed, -1, path, busy ? 0 : static_cast<int>(error));
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        return GenerationLock(LockState::Failed, -1, path, static_cast<int>(error));
    }
    if ((info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        CloseHandle(file);
        return GenerationLock(LockState::Failed, -1, path, ERROR_DIRECTORY);
    }
    OVERLAPPED whole{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        const bool busy = error == ERROR_LOCK_VIOLATION;
        return GenerationLock(busy ? LockState::Busy : LockState::Failed, -1, path, busy ? 0 : static_cast<int>(error));
    }
    return GenerationLock(LockState::Held, reinterpret_cast<std::intptr_t>(file), path);
}

GenerationLock::GenerationLock(GenerationLock&& other) noexcept
    : state_(other.state_), handle_(other.handle_), path_(std::move(other.path_)), systemError_(other.systemError_) {
    other.handle_ = -1;
}

GenerationLock::~GenerationLock() {
    if (handle_ == -1) return;
    // Closing lets the lock go and, with the last handle, deletes the file.
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace kx
