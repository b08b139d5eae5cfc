#include "Ports.h"

#include "FileSystem.h"

namespace kx {

bool HostPort::CreateOutputRoot(const AnsiString& root) { return CreateFolder(root); }

}  // namespace kx
