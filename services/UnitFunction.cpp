// The portable half of UnitFunction: the writers' steps, which only assemble
// the content buffer and hand it to the platform's WriteWholeFile.
#include "UnitFunction.h"

#include "CodePage.h"
#include "FileWriting.h"
#include "TextContent.h"

namespace kx {

std::string Utf8FileBytes(const AnsiString& text, bool withBom) {
    if (text.empty()) return std::string();
    std::string content = withBom ? "\xEF\xBB\xBF" : "";
    // The thread's ANSI code page, zero bytes included; every unit by itself.
    AppendUtf8OfUnits(content, text, AnsiPage::Thread);
    return content;
}

std::string Utf16FileBytes(const AnsiString& text, bool withBom) {
    if (text.empty()) return std::string();
    // The system ANSI code page, up to the first zero byte.
    return Utf16FileContent(AnsiToWideText(text), withBom);
}

void SaveUtf8File(const AnsiString& path, const AnsiString& text, bool withBom) {
    if (text.empty()) return;
    WriteWholeFile(path, Utf8FileBytes(text, withBom));
}

void SaveUtf16File(const AnsiString& path, const AnsiString& text, bool withBom) {
    if (text.empty()) return;
    WriteWholeFile(path, Utf16FileBytes(text, withBom));
}

}  // namespace kx
