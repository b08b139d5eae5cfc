// The name checks against their rules, written here a second time from the
// rules themselves rather than from the code:
// - trimming removes leading and trailing bytes below 33 and nothing else;
// - the final component follows the last backslash or colon that is not the
//   second byte of a double-byte character (a lead byte 81..FE takes the next
//   byte as its second byte unless that byte is zero or missing);
// - a usable name is its own final component, holds no slash and no zero
//   byte, and ends neither in a dot nor in a lead byte without its second
//   byte; and such a name always makes a single new child of the output
//   root on disk, also with the workflow's further path parts joined after it.
#include <vector>

#include "FuzzSupport.h"
#include "ProjectName.h"
#include "NativePath.h"

namespace {

using kx::AnsiString;
using kx::NameVerdict;

bool IsBlank(unsigned char byte) { return byte < 33; }

AnsiString ReferenceTrim(const AnsiString& text) {
    std::size_t begin = 0;
    while (begin < text.size() && IsBlank(static_cast<unsigned char>(text[begin]))) ++begin;
    std::size_t end = text.size();
    while (end > begin && IsBlank(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

// true at every byte that is the second byte of a double-byte character.
std::vector<bool> SecondBytes(const AnsiString& text) {
    std::vector<bool> second(text.size(), false);
    bool afterLead = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (afterLead && byte != 0) {
            second[i] = true;
            afterLead = false;
            continue;
        }
        afterLead = byte >= 0x81 && byte <= 0xFE;
    }
    return second;
}

AnsiString ReferenceFinalComponent(const AnsiString& name) {
    const std::vector<bool> second = SecondBytes(name);
    for (std::size_t i = name.size(); i-- > 0;) {
        if (!second[i] && (name[i] == '\\' || name[i] == ':')) return name.substr(i + 1);
    }
    return name;
}

NameVerdict ReferenceVerdict(const AnsiString& trimmed) {
    if (trimmed.empty()) return NameVerdict::Empty;
    if (ReferenceFinalComponent(trimmed) != trimmed) return NameVerdict::Malformed;
    if (trimmed.find('/') != AnsiString::npos) return NameVerdict::Malformed;
    if (trimmed.back() == '.') return NameVerdict::Malformed;
    // The path goes on with a backslash after the name, which a lead byte at
    // the end would take as its second byte; and a C string ends at a zero byte.
    const auto lastByte = static_cast<unsigned char>(trimmed.back());
    if (lastByte >= 0x81 && lastByte <= 0xFE && !SecondBytes(trimmed).back()) return NameVerdict::Malformed;
    if (trimmed.find('\0') != AnsiString::npos) return NameVerdict::Malformed;
    return NameVerdict::Usable;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const AnsiString typed(reinterpret_cast<const char*>(data), size);

    const AnsiString trimmed = kx::TrimName(typed);
    KX_FUZZ_CHECK(trimmed == ReferenceTrim(typed));
    KX_FUZZ_CHECK(kx::FinalPathComponent(typed) == ReferenceFinalComponent(typed));

    const NameVerdict verdict = kx::CheckProjectName(trimmed);
    KX_FUZZ_CHECK(verdict == ReferenceVerdict(trimmed));

    if (verdict == NameVerdict::Usable) {
        // What the file system will see: one component, never "." or "..".
        const std::string native = kx::NativePath(trimmed);
        KX_FUZZ_CHECK(!native.empty());
        KX_FUZZ_CHECK(native.find('/') == std::string::npos);
        KX_FUZZ_CHECK(native != "." && native != "..");
        // The file calls take C strings: a zero byte would cut the name short.
        KX_FUZZ_CHECK(native.find('\0') == std::string::npos);
        // The workflow joins a separator and more after the name; that
        // separator must stay one, or the source folder lands beside the
        // project folder.
        KX_FUZZ_CHECK(kx::NativePath("/root/" + trimmed + "/x") == "/root/" + native + "/x");
    }
    return 0;
}
