#include "RegularFile.h"

namespace kx {

namespace {

// A plain file on a disk: not a device, and not a reparse point or folder
// (opened as itself with FILE_FLAG_OPEN_REPARSE_POINT).
bool IsRegularDiskFile(HANDLE file) {
    if (GetFileType(file) != FILE_TYPE_DISK) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return false;
    return (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

FileHandle Refused() {
    SetLastError(ERROR_ACCESS_DENIED);
    return FileHandle();
}

}  // namespace

FileHandle CreateRegularFileAlways(const AnsiString& path, DWORD access, DWORD share) {
    // A new file first: CREATE_NEW never follows a link in the way (it fails
    // because the name exists).
    FileHandle file(CreateFileA(path.c_str(), access, share, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
        if (!IsRegularDiskFile(file.Get())) return Refused();  // a device name such as CON
        return file;
    }
    const DWORD created = GetLastError();
    if (created != ERROR_FILE_EXISTS && created != ERROR_ALREADY_EXISTS) return FileHandle();

    file.Reset(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT,
                           nullptr));
    if (!file) return FileHandle();
    if (!IsRegularDiskFile(file.Get())) return Refused();
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN) || !SetEndOfFile(file.Get())) {
        const DWORD error = GetLastError();
        file.Reset();
        SetLastError(error);
        return FileHandle();
    }
    return file;
}

}  // namespace kx
