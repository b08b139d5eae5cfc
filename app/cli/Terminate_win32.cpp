// kxgen.exe ends an escaped exception with a plain abort instead of the C++
// runtime's verbose handler: that handler names the exception's type through
// the symbol demangler, about 46 KB of a 400 KB budget, while kxgen catches
// every error of its own anyway. Defining the handler here keeps the
// runtime's own (and with it the demangler) out of the static link.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
