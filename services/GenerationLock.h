// One generation at a time in an output root: a lock on a file inside it,
// which is removed again when the lock is let go.
#pragma once

#include <cstdint>

#include "UnitFunction.h"

namespace kx {

// The lock file in the locked folder (hidden on both platforms).
inline constexpr char kGenerationLockName[] = ".kx-generate.lock";

enum class LockState {
    Held,    // this object holds the lock until it is destroyed
    Busy,    // another generation holds it now
    Failed,  // the lock file cannot be made or opened
};

class GenerationLock {
public:
    // Tries once, without waiting: a second press elsewhere is told at once
    // instead of hanging on a dialog left open.
    static GenerationLock Take(const AnsiString& folder);

    GenerationLock(GenerationLock&& other) noexcept;
    GenerationLock& operator=(GenerationLock&&) = delete;
    GenerationLock(const GenerationLock&) = delete;
    GenerationLock& operator=(const GenerationLock&) = delete;
    ~GenerationLock();

    LockState State() const { return state_; }
    // With Failed: the system's error number (errno, GetLastError), else 0.
    int SystemError() const { return systemError_; }
    // The lock file's path.
    const AnsiString& Path() const { return path_; }

private:
    GenerationLock(LockState state, std::intptr_t handle, AnsiString path, int systemError = 0)
        : state_(state), handle_(handle), path_(std::move(path)), systemError_(systemError) {}

    LockState state_;
    std::intptr_t handle_;  // a descriptor or a HANDLE; -1 when none
    AnsiString path_;
    int systemError_;
};

}  // namespace kx
