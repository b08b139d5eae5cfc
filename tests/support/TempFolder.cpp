#include "TempFolder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>

#include "AsciiText.h"
#include "Gbk.h"
#include "UnitFunction.h"

#ifdef _WIN32
#include <windows.h>

#include "win32/Win32Handles.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "CodePage.h"
#include "posix/PosixFiles.h"
#endif

namespace kx {

void PrintTo(const AnsiString& text, std::ostream* out) {
    *out << '"';
    for (const char c : BytesOf(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
            *out << c;
        } else {
            *out << ByteEscape(byte);
        }
    }
    *out << '"';
}

std::ostream& operator<<(std::ostream& out, const AnsiString& text) {
    PrintTo(text, &out);
    return out;
}

}  // namespace kx

namespace kx::test {

std::string Hex(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (i) out += ' ';
        out += kUpperHexDigits[b >> 4];
        out += kUpperHexDigits[b & 0xF];
    }
    return out;
}

char PathSeparator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

AnsiString JoinPath(const AnsiString& folder, const AnsiString& name) {
    // By characters: the 5C that ends 乗 (81 5C) is no separator.
    const std::size_t last = kx::GbkLastCharStart(folder);
    if (last != AnsiString::npos && last + 1 == folder.size() && folder[last] == PathSeparator()) {
        return folder + name;
    }
    return folder + PathSeparator() + name;
}

AnsiString TempFolder::Child(const AnsiString& relative) const { return JoinPath(path_, relative); }

bool MakeFolderWithFile(const AnsiString& folder, const AnsiString& name, const std::string& bytes) {
    return MakeFolder(folder) && WriteFileBytes(JoinPath(folder, name), bytes);
}

const NamedWriter kTextWriters[2] = {{"SaveUtf8File", &kx::SaveUtf8File}, {"SaveUtf16File", &kx::SaveUtf16File}};

AnsiString WriterErrorOf(TextWriter writer, const AnsiString& path) {
    try {
        writer(path, "abc", true);
    } catch (const kx::EFCreateError& error) {
        return "EFCreateError: " + error.Message();
    } catch (const kx::EWriteError& error) {
        return "EWriteError: " + error.Message();
    } catch (const std::exception& other) {
        return AnsiString("other error: ") + AsGbk(other.what());
    }
    return "none";
}

AnsiString CreateErrorStart(const AnsiString& path) { return "EFCreateError: Cannot create file \"" + path + "\". "; }

#ifdef _WIN32

namespace {

std::int64_t SecondsFromFileTime(const FILETIME& ft) {
    ULARGE_INTEGER v;
    v.LowPart = ft.dwLowDateTime;
    v.HighPart = ft.dwHighDateTime;
    return static_cast<std::int64_t>(v.QuadPart / 10000000ULL) - 11644473600LL;
}

FILETIME FileTimeFromSeconds(std::int64_t seconds) {
    ULARGE_INTEGER v;
    v.QuadPart = static_cast<unsigned long long>(seconds + 11644473600LL) * 10000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = v.LowPart;
    ft.dwHighDateTime = v.HighPart;
    return ft;
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    char base[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(MAX_PATH, base);
    AnsiString folder = (n > 0 && n < MAX_PATH) ? AnsiString(base, n) : AnsiString("C:\\");
    if (folder.back() == '\\') folder.pop_back();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char name[96];
        std::snprintf(name, sizeof name, "kx-test-%lu-%u-%llu", GetCurrentProcessId(), counter++,
                      static_cast<unsigned long long>(
                          std::chrono::steady_clock::now().time_since_epoch().count() & 0xFFFFFF));
        const AnsiString candidate = folder + "\\" + name;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
    std::fprintf(stderr, "TempFolder: cannot create a folder in %s\n", folder.c_str());
    std::abort();
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool FileExists(const AnsiString& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const AnsiString& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const AnsiString& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::string> ReadFileBytes(const AnsiString& path) {
    kx::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        bytes.append(buffer, read);
    }
    return bytes;
}

bool WriteFileBytes(const AnsiString& path, const std::string& bytes) {
    kx::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (!file) return false;
    DWORD written = 0;
    return bytes.empty() ||
           (WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size());
}

bool MakeFolder(const AnsiString& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool SetReadOnly(const AnsiString& path, bool readOnly) {
    const DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return false;
    DWORD b = readOnly ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (b == 0) b = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesA(path.c_str(), b) != 0;
}

bool PlatformIgnoresReadOnly(const AnsiString& readOnlyFile) {
    kx::FileHandle probe(CreateFileA(readOnlyFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe.Valid();
}

std::optional<std::int64_t> ModifiedTime(const AnsiString& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return SecondsFromFileTime(data.ftLastWriteTime);
}

bool SetModifiedTime(const AnsiString& path, std::int64_t secondsSince1970) {
    kx::FileHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return false;
    const FILETIME ft = FileTimeFromSeconds(secondsSince1970);
    return SetFileTime(file.Get(), nullptr, &ft, &ft) != 0;
}

std::vector<AnsiString> ListFolder(const AnsiString& path) {
    std::vector<AnsiString> names;
    WIN32_FIND_DATAA data;
    const AnsiString pattern = JoinPath(path, "*");
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const AnsiString name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

bool RemoveTree(const AnsiString& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return true;
    if (a & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT)) {
        for (const AnsiString& name : ListFolder(path)) RemoveTree(JoinPath(path, name));
        return RemoveDirectoryA(path.c_str()) != 0;
    }
    if (a & FILE_ATTRIBUTE_DIRECTORY) return RemoveDirectoryA(path.c_str()) != 0;
    return DeleteFileA(path.c_str()) != 0;
}

#else  // POSIX

namespace {

std::string Native(const AnsiString& path) { return kx::NativePath(path); }

}  // namespace

TempFolder::TempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = (tmp && tmp[0] == '/') ? tmp : "/tmp";
    if (base.size() > 1 && base.back() == '/') base.pop_back();
    std::string templ = base + "/kx-test-XXXXXX";
    if (::mkdtemp(templ.data()) == nullptr) {
        std::fprintf(stderr, "TempFolder: cannot create a folder in %s\n", base.c_str());
        std::abort();
    }
    path_ = kx::AnsiFromUtf8(templ);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

bool FileExists(const AnsiString& path) {
    struct stat st {};
    return ::stat(Native(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const AnsiString& path) {
    struct stat st {};
    return ::stat(Native(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const AnsiString& path) {
    struct stat st {};
    return ::lstat(Native(path).c_str(), &st) == 0;
}

std::optional<std::string> ReadFileBytes(const AnsiString& path) {
    const int fd = ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

bool WriteFileBytes(const AnsiString& path, const std::string& bytes) {
    const int fd = ::open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const bool ok = kx::WriteAll(fd, bytes.data(), bytes.size());
    return ::close(fd) == 0 && ok;
}

bool MakeFolder(const AnsiString& path) { return ::mkdir(Native(path).c_str(), 0777) == 0; }

bool SetReadOnly(const AnsiString& path, bool readOnly) {
    struct stat st {};
    const std::string native = Native(path);
    if (::stat(native.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? (mode & ~static_cast<mode_t>(0222)) : (mode | S_IWUSR);
    return ::chmod(native.c_str(), mode) == 0;
}

bool PlatformIgnoresReadOnly(const AnsiString&) { return false; }

std::optional<std::int64_t> ModifiedTime(const AnsiString& path) {
    struct stat st {};
    if (::stat(Native(path).c_str(), &st) != 0) return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtime);
}

bool SetModifiedTime(const AnsiString& path, std::int64_t secondsSince1970) {
    struct timespec times[2];
    times[0].tv_sec = static_cast<time_t>(secondsSince1970);
    times[0].tv_nsec = 0;
    times[1] = times[0];
    return ::utimensat(AT_FDCWD, Native(path).c_str(), times, 0) == 0;
}

std::vector<std::string> ListNativeFolder(const std::string& nativePath) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(nativePath.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<AnsiString> ListFolder(const AnsiString& path) {
    std::vector<AnsiString> names;
    for (const std::string& name : ListNativeFolder(Native(path))) names.push_back(kx::AnsiFromUtf8(name));
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

bool RemoveNative(const std::string& native) {
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISDIR(st.st_mode)) return ::unlink(native.c_str()) == 0;
    ::chmod(native.c_str(), 0700);
    for (const std::string& child : ListNativeFolder(native)) RemoveNative(native + "/" + child);
    return ::rmdir(native.c_str()) == 0;
}

}  // namespace

bool RemoveTree(const AnsiString& path) { return RemoveNative(Native(path)); }

#endif

}  // namespace kx::test
