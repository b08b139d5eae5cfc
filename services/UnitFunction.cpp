// The portable half of UnitFunction: the writers' steps, which only assemble
// the content buffer and hand it to the platform's WriteWholeFile.
#include "UnitFunction.h"

#include "CodePage.h"
#include "FileWriting.h"
#include "TextContent.h"

namespace kx {

void SaveUtf8File(const AnsiString& path, const AnsiString& text, bool withBom) {
    if (text.empty()) return;
    // The thread's ANSI code page, zero bytes included; every unit by itself.
    const std::string content = Utf8FileContent(DecodeAnsi(text, AnsiPage::Thread), withBom);
    WriteWholeFile(path, content);
}

void SaveUtf16File(const AnsiString& path, const AnsiString& text, bool withBom) {
    if (text.empty()) return;
    // The system ANSI code page, up to the first zero byte.
    const std::string content = Utf16FileContent(AnsiToWideText(text), withBom);
    WriteWholeFile(path, content);
}

}  // namespace kx
