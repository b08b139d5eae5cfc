// The tool's one job: from a project name to a complete project folder.
#pragma once

#include "Ports.h"

namespace kx {

// Asks for the name, checks it, prepares the folders and writes the file set.
// Anticipated failures end with one message box; errors of the file writers
// are not caught and reach the caller's error display.
void GenerateProject(DialogPort& dialogs, HostPort& host);

// Writes the DLL and the six text files into the prepared folders, then asks
// the shell to open the project file.
void WriteProjectFiles(const AnsiString& outputRoot, const AnsiString& name, HostPort& host);

}  // namespace kx
