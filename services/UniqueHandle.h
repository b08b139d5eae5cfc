// Owns one operating-system handle and releases it when it goes out of scope.
//
// Traits supply the handle type, the value that means "no handle" and how a
// handle is closed:
//
//   struct FileTraits {
//       using Handle = int;
//       static Handle Invalid() noexcept { return -1; }
//       static bool Close(Handle h) noexcept { return ::close(h) == 0; }
//   };
//
// Copying is not allowed (two owners would close twice); moving hands the
// handle over and leaves the source empty.
#pragma once

#include <utility>

namespace kx {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept : handle_(Traits::Invalid()) {}
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Handle Get() const noexcept { return handle_; }
    bool Valid() const noexcept { return handle_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return Valid(); }

    // Gives the handle up without closing it.
    Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    // Closes the handle now (if any) and reports whether closing succeeded;
    // an empty wrapper reports true.
    bool Close() noexcept {
        if (!Valid()) return true;
        return Traits::Close(Release());
    }

    // Closes the current handle (if any) and takes ownership of another.
    void Reset(Handle handle = Traits::Invalid()) noexcept {
        if (Valid()) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_;
};

}  // namespace kx
