#include "Ports.h"

#include "FileSystem.h"

namespace kx {

bool HostPort::CreateOutputRoot(const AnsiString& root, int& systemError) {
    if (CreateFolder(root)) return true;
    systemError = LastSystemError();
    return false;
}

}  // namespace kx
