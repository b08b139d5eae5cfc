// kxgen.exe and KXProjectMaker.exe end an escaped exception with a plain
// abort instead of the C++ runtime's verbose handler: that handler names the
// exception's type through the symbol demangler, about 46 KB of each program,
// while both catch every error of their own anyway (and the Windows program
// has no stderr to print the name on). Defining the handler here keeps the
// runtime's own (and with it the demangler) out of the static link.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
