// The two small ports the generate workflow talks through. The Win32 front end
// and the command-line front end each implement them.
#pragma once

#include "TemplateSource.h"
#include "UnitFunction.h"

namespace kx {

class DialogPort {
public:
    virtual ~DialogPort() = default;
    // The edited text after OK, exactly defaultText after any other ending.
    virtual AnsiString PromptForText(const AnsiString& caption, const AnsiString& prompt,
                                     const AnsiString& defaultText) = 0;
    // The pressed button (1 OK, 2 Cancel, ...), 0 when no box could be shown.
    virtual int ShowMessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) = 0;
};

struct LocalDate {
    int year;
    int month;
    int day;
};

class HostPort {
public:
    virtual ~HostPort() = default;
    // Where projects go: by default "KX项目" in the executable's folder.
    virtual AnsiString OutputRoot() = 0;
    virtual LocalDate Today() = 0;
    // The shell's "open"; its result is ignored.
    virtual void ShellOpen(const AnsiString& path) = 0;
    // The templates a new project is written from.
    virtual const TemplateSource& Templates() { return BuiltInTemplates(); }
    // Told where a regeneration put the old files, before the new ones are
    // written: the trash's files folder, or empty for the Windows Recycle Bin.
    virtual void OldFilesMovedTo(const AnsiString& trashFolder) { static_cast<void>(trashFolder); }
};

}  // namespace kx
