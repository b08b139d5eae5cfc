// ReplaceAll against the slow, obvious reference: same bytes out for any text,
// pattern and replacement, GBK lead and trail bytes and NUL bytes included.
#include "FuzzSupport.h"
#include "ReplaceAll.h"
#include "support/ReferenceReplace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kx::fuzz::FuzzInput input(data, size);
    const unsigned char mode = input.Byte();
    // Half of the cases use the program's own placeholder, so names and
    // templates full of near-misses ("$projectName$", "$ProjectName") get tried.
    const std::string pattern = (mode & 1) ? std::string("$ProjectName$") : input.Take(input.Byte() % 16);
    const std::string replacement = input.Take(input.Byte() % 32);
    const std::string text = input.Rest();

    const std::string expected = kx::test::ReferenceReplaceAll(text, pattern, replacement);
    // The reference reads bytes its own way; the program takes them as GBK text.
    const kx::AnsiString actual = kx::ReplaceAll(kx::AsGbk(text), kx::AsGbk(pattern), kx::AsGbk(replacement));
    KX_FUZZ_CHECK(kx::BytesOf(actual) == expected);
    return 0;
}
