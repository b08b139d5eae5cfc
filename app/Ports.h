// The two small ports the generate workflow talks through. The Win32 front end
// and the command-line front end each implement them. The workflow asks its
// questions through them and reports nothing: how a run ended comes back as
// its outcome (generate/Outcome.h).
#pragma once

#include "TemplateSource.h"
#include "UnitFunction.h"

namespace kx {

class DialogPort {
public:
    virtual ~DialogPort() = default;
    // The name prompt: the edited text after OK, exactly proposed after any
    // other ending (cancelling goes on with the proposed name).
    virtual AnsiString AskProjectName(const AnsiString& proposed) = 0;
    // The project name exists: true only when the user chose to regenerate it.
    virtual bool ConfirmRegeneration(const AnsiString& name) = 0;
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
    // Makes the output root, which does not exist; false when it cannot,
    // with the system's error number in systemError. One level, as
    // CreateDirectoryA; a host may make missing parents too.
    virtual bool CreateOutputRoot(const AnsiString& root, int& systemError);
    virtual LocalDate Today() = 0;
    // The shell's "open"; its result is ignored.
    virtual void ShellOpen(const AnsiString& path) = 0;
    // The templates a new project is written from.
    virtual const TemplateSource& Templates() { return BuiltInTemplates(); }
    // The program version a new project's record (.kxgen, update/ProjectRecord.h)
    // keeps; empty for a host that keeps no record, as the Windows program.
    virtual std::string RecordVersion() { return std::string(); }
};

}  // namespace kx
