#include "ErrorText.h"

// kx_layout carries no dependency on the services library; the GBK rules and
// the path splitter are header-only.
#include "Gbk.h"
#include "PathSplit.h"

namespace kx::layout {

std::string ErrorBoxText(const std::string& message) {
    const std::size_t last = kx::GbkLastCharStart(message);
    if (last == std::string::npos) return message;
    if (static_cast<unsigned char>(message[last]) > static_cast<unsigned char>('.')) {
        return message + ".";
    }
    return message;
}

std::string ModuleBaseName(const std::string& moduleFileName) {
    std::string name = kx::SplitAtLastSeparator(moduleFileName).name;
    for (std::size_t pos = 0; pos < name.size(); pos += kx::GbkCharLength(name, pos)) {
        if (name[pos] == '.') return name.substr(0, pos);
    }
    return name;
}

}  // namespace kx::layout
