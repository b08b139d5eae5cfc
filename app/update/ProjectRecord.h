// What kxgen wrote into a project, kept inside it so that a later update can
// tell the user's changes from the templates' (the base of the three-way
// merge). The Windows program keeps none.
//
// The record is one file, <project>/.kxgen/record, so that it can be
// replaced in one step (written whole beside it, then renamed over it); the
// folder is hidden on Windows and KX never reads it. Its format, version 1:
//
//   kxgen project record 1              first line, exactly
//   version 1.0.0                       the program that wrote it
//   name demo                           the project name as typed (UTF-8)
//   identifier demo                     the name's form where KX reads a name
//   guid {0C2E...}                      the main script's MyGUID
//   templates <sha-256>                 fingerprint of the template set
//   dll <sha-256> 生成/GetPointXY.dll    the DLL, by hash only (no line: none written)
//   text <sha-256> <bytes> demo.kxproj  one line per text file, in writing order
//   ...
//   (an empty line)
//   the text files' bytes, exactly as written, one after the other in the
//   order and with the lengths of their "text" lines
//
// Header lines end in LF; paths are relative to the project folder, in UTF-8,
// with "/" between folders. Hashes are SHA-256 in lower-case hexadecimal.
// The template fingerprint is the SHA-256 of, for each text template in
// catalogue order (runtimefun, publicfun, programe, form, code) and then the
// DLL ("dll"): the name, a zero byte, the length in decimal, a zero byte and
// the bytes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "PathLimits.h"
#include "ProjectFileSet.h"

namespace kx {

inline constexpr char kRecordFolderName[] = ".kxgen";
inline constexpr char kRecordFileName[] = "record";

// ".kxgen" + separator + "record", relative to the project folder.
AnsiString RecordRelativePath();

// What writing the record makes below the output root, for the project
// folder called project: its folder, the record and the record's temporary
// file.
std::vector<PathBelow> RecordPathsBelow(const AnsiString& project);

// A relative path as the record and diffs write it: UTF-8, "/" between
// folders. Throws ConversionError as Utf8FromAnsi does.
std::string PortableRelativePath(const AnsiString& relativePath);

struct RecordedFile {
    AnsiString relativePath;  // joined with kPathSeparator, as ProjectTextFile's
    std::string hash;         // SHA-256 of the bytes
    std::string bytes;        // text files only: the bytes as written
};

struct ProjectRecord {
    std::string version;
    ProjectNameForms forms;  // GBK
    AnsiString guid;
    std::string templates;   // the template fingerprint
    std::optional<RecordedFile> dll;
    std::vector<RecordedFile> texts;

    // The text recorded for relativePath; nullptr when there is none.
    const RecordedFile* TextAt(const AnsiString& relativePath) const;
    // Equal in everything but the version: a newer program alone is nothing new.
    bool SameFilesAs(const ProjectRecord& other) const;
};

std::string TemplateFingerprint(const TemplateSource& templates);

// The record of a project written from these files: the DLL entry only when
// dllBytes holds one.
ProjectRecord RecordOf(const std::string& version, const ProjectNameForms& forms, const AnsiString& guid,
                       const std::string& templateFingerprint, const std::vector<ProjectTextFile>& texts,
                       const std::string& dllBytes);

// The file's bytes. Throws ConversionError when a path or name cannot be
// converted.
std::string RecordBytes(const ProjectRecord& record);

enum class RecordProblem {
    None,
    Unreadable,    // no regular file, or it cannot be read
    Malformed,     // not in the format above
    HashMismatch,  // a text's bytes differ from its recorded hash
    OtherProject,  // recorded under another project name
};

// Reads bytes into record; anything but None leaves record unspecified.
RecordProblem ParseRecord(const std::string& bytes, ProjectRecord& record);

// Writes the record into the project folder last of all: makes .kxgen
// (hidden on Windows) when missing, then replaces the record in one step.
// Throws the writers' errors.
void WriteRecord(const AnsiString& projectFolder, const ProjectRecord& record);

// Writes the record of a project just written from these files, as
// WriteRecord(projectFolder, RecordOf(...)) does, the texts' bytes taken
// from where they are: a large template of the user's is not copied again.
void WriteRecordOf(const AnsiString& projectFolder, const std::string& version, const ProjectNameForms& forms,
                   const AnsiString& guid, const std::string& templateFingerprint,
                   const std::vector<ProjectTextFile>& texts, const std::string& dllBytes);

}  // namespace kx
