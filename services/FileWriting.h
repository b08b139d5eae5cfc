// The platform seam under the text file writers, implemented in win32/ and
// posix/.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "KxTypes.h"

namespace kx {

// Writing the file: creates path or truncates it to length 0, open for reading
// and writing with no sharing; throws EFCreateError when that fails (nothing
// written, an existing file keeps its content). Then writes all of content (if
// any) and closes the file on every path; throws EWriteError when fewer bytes
// than content holds were written.
void WriteWholeFile(const AnsiString& path, const std::string& content);

// The suffix of the temporary WriteWholeFileAtomically writes first.
inline constexpr char kTemporaryFileSuffix[] = ".kxpart";

// All of content to path as one step that a crash cannot cut in half: written
// whole to path + kTemporaryFileSuffix, then renamed over path (an existing
// file at path is replaced, never a folder). Before it replaces a file the
// temporary is made durable, so that a crash cannot leave an empty file where
// the old one was; a file new at path is as durable as WriteWholeFile's.
// Throws as WriteWholeFile does; the temporary is removed after a failure.
// The content may come in pieces, written one after the other, so that text
// held elsewhere need not be copied into one string first.
void WriteWholeFileAtomically(const AnsiString& path, const std::vector<std::string_view>& pieces);
inline void WriteWholeFileAtomically(const AnsiString& path, const std::string& content) {
    WriteWholeFileAtomically(path, std::vector<std::string_view>{content});
}

}  // namespace kx
