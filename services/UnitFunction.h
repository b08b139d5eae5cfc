// The file and resource routines every generated project goes through. The
// strings and errors they use are in KxTypes.h.
#pragma once

#include "KxTypes.h"

namespace kx {

// The resource's bytes, 100-byte piece by piece, each piece cut at its first
// zero byte; empty when the resource is missing or anything fails.
AnsiString ReadTextResource(const AnsiString& name, const AnsiString& type);

// Writes the resource's bytes to path; false on any failure. Never throws.
bool ExtractResourceToFile(const AnsiString& path, const AnsiString& name, const AnsiString& type);

// The resource's bytes as they are, zero bytes included; empty when the
// resource is missing or cannot be read. Never throws.
std::string ReadResourceBytes(const AnsiString& name, const AnsiString& type);

// System ANSI code page to UTF-16, up to the first zero unit. Bad input
// becomes the replacement character; throws ConversionError (CodePage.h) only
// when the code page cannot be converted at all.
WideString AnsiToWideText(const AnsiString& text);

// Both writers do nothing for an empty text, throw EFCreateError when the file
// cannot be created and EWriteError on a short write.
void SaveUtf8File(const AnsiString& path, const AnsiString& text, bool withBom);
void SaveUtf16File(const AnsiString& path, const AnsiString& text, bool withBom);

// The bytes each writer puts into its file, without touching any: a
// generation converts every text before its first change. Empty for an
// empty text (the writers then write no file).
std::string Utf8FileBytes(const AnsiString& text, bool withBom);
std::string Utf16FileBytes(const AnsiString& text, bool withBom);

// Utf8FileBytes of a text given piece by piece, each piece whole characters:
// the same bytes, without the whole text in one string first. The pieces are
// gathered and converted some tens of kilobytes at a time.
class Utf8FileBytesInPieces {
public:
    // expectedSize: about how many bytes the text will have, or 0.
    Utf8FileBytesInPieces(bool withBom, std::size_t expectedSize);
    void Append(AnsiView piece);
    // The file's bytes; empty when every piece was empty.
    std::string Finish();

private:
    void Convert(AnsiView text);

    bool withBom_;
    bool any_ = false;
    std::string bytes_;
    AnsiString pending_;
};

// Empties dir (never removes dir itself); true when everything went.
bool DeleteFolderContents(const AnsiString& dir, bool includeSubfolders, bool toRecycleBin);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal.
AnsiString NewGuidText();

}  // namespace kx
