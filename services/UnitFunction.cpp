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

namespace {
constexpr std::size_t kPendingBytes = 64 * 1024;
}  // namespace

Utf8FileBytesInPieces::Utf8FileBytesInPieces(bool withBom, std::size_t expectedSize) : withBom_(withBom) {
    if (withBom_) bytes_ = "\xEF\xBB\xBF";
    // Mostly ASCII with a few Chinese words: a half more covers the usual
    // text, and the pages reserved beyond what is written are never touched.
    bytes_.reserve(bytes_.size() + expectedSize + expectedSize / 2);
    pending_.reserve(kPendingBytes);
}

void Utf8FileBytesInPieces::Convert(AnsiView text) {
    // The thread's ANSI code page, zero bytes included, as Utf8FileBytes.
    AppendUtf8OfUnits(bytes_, text, AnsiPage::Thread);
}

void Utf8FileBytesInPieces::Append(AnsiView piece) {
    if (piece.empty()) return;
    any_ = true;
    // A piece ends where a character ends, so converting at its edge gives
    // the bytes converting the whole text gives.
    if (pending_.size() + piece.size() > kPendingBytes) {
        Convert(pending_);
        pending_.clear();
    }
    if (piece.size() >= kPendingBytes) {
        Convert(piece);
    } else {
        pending_ += piece;
    }
}

std::string Utf8FileBytesInPieces::Finish() {
    if (!any_) return std::string();
    Convert(pending_);
    AnsiString().swap(pending_);
    return std::move(bytes_);
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
