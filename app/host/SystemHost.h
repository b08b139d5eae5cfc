// The host of the running program: where the executable lives, today's date
// and the shell's "open".
#pragma once

#include "Ports.h"

namespace kx {

class SystemHost : public HostPort {
public:
    AnsiString OutputRoot() override;
    LocalDate Today() override;
    void ShellOpen(const AnsiString& path) override;

    // The running executable's folder, ending in a path separator.
    static AnsiString ExecutableFolder();
};

}  // namespace kx
