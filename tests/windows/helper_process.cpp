// A second process for the Windows tests, started by HelperProcess.h:
//
//   kx_win32_helper hold PATH   opens PATH (a file or a folder) as another
//                               program would, sharing nothing, prints "held"
//                               and keeps it until its input ends or it is
//                               killed; "failed <error>" when it cannot
//   kx_win32_helper holdread PATH
//                               the same, letting others read PATH (as an
//                               editor that keeps its file open does)
//   kx_win32_helper folder      prints the folder the system host finds for
//                               this copy of the program, or "KxError: " and
//                               the message
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "SystemHost.h"

namespace {

int Hold(const char* path, DWORD share) {
    HANDLE held = CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        std::printf("failed %lu\n", GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    // The test closes our input when it is done; should it die instead, the
    // pipe closes all the same and nothing stays held.
    char byte = 0;
    DWORD read = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &read, nullptr) && read != 0) {
    }
    CloseHandle(held);
    return 0;
}

int PrintFolder() {
    try {
        std::printf("%s\n", kx::SystemHost::ExecutableFolder().c_str());
    } catch (const kx::KxError& error) {
        std::printf("KxError: %s\n", error.Message().c_str());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) return Hold(argv[2], 0);
    if (argc == 3 && std::strcmp(argv[1], "holdread") == 0) return Hold(argv[2], FILE_SHARE_READ);
    if (argc == 2 && std::strcmp(argv[1], "folder") == 0) return PrintFolder();
    std::fprintf(stderr, "usage: kx_win32_helper hold PATH | holdread PATH | folder\n");
    return 2;
}
