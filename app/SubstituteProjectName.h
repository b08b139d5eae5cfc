// Putting the project name into a template: the one placeholder "$ProjectName$"
// stands for the name, and each occurrence gets the form of the name that its
// place in the file can hold.
#pragma once

#include "KxTypes.h"
#include "TemplateWords.h"

namespace kx {

inline constexpr char kProjectNamePlaceholder[] = "$ProjectName$";

// The project name as typed and in KX's name form, decided once for the whole
// project, so that the window file binds the functions the main script
// defines.
struct ProjectNameForms {
    AnsiString typed;       // captions, strings, comments, file and folder names
    AnsiString identifier;  // where KX reads a name (a control, a function)
};

// identifier is KxIdentifierFrom(name), with "_" added until neither it nor
// any name the templates build from the placeholder with it in place is one
// of words (KX's keywords compared without regard to ASCII letter case). A
// name that meets none of them keeps its name form as it is.
ProjectNameForms NameFormsFor(const AnsiString& name, const TemplateWords& words);

// What kind of file a template becomes; it decides how a place is read.
enum class TemplateKind {
    ProjectFile,  // XML
    WindowFile,   // KX window description
    Script,       // KX script
};

// The template text with every "$ProjectName$" replaced by a form of the name.
// Pure: GBK text and GBK names in, GBK text out; it never fails.
//
// Occurrences are found as ReplaceAll finds them: case-sensitive, left to
// right, without overlap, only on a GBK character boundary, and not behind
// the first zero byte of the text; the name put in is never searched again.
//
// The form by place:
//   ProjectFile  everywhere: the name XML-escaped (EscapeXmlText), so the file
//                stays well-formed in element text and attribute values.
//   WindowFile   between double quotes on a line (a caption): the name as
//                typed, a '"' in it made '\''; anywhere else (the control's
//                name, an event's handler name): forms.identifier.
//   Script       in a string literal: the name as typed, with the characters
//                '\\' and '"' escaped as the literal needs (the second byte
//                of a double-byte character is never escaped, 0x5C or not);
//                in a "//" comment: the name as typed; anywhere else (a
//                function or variable name): forms.identifier.
// Quotes and comments are read as KX reads them, on GBK characters, so a
// second byte of a double-byte character never opens or closes one; a line
// end closes an open quote.
//
// For a name that is a KX name and holds none of & < > " ' \ every form is the
// name itself, and the result is exactly ReplaceAll(text, placeholder, name).
AnsiString SubstituteProjectName(TemplateKind kind, const AnsiString& text, const ProjectNameForms& forms);

// Where SubstituteInto hands its result: piece by piece, in order, each
// piece whole GBK characters (a run of the template or a form of the name).
class SubstitutedPieces {
public:
    virtual void Append(AnsiView piece) = 0;

protected:
    ~SubstitutedPieces() = default;
};

// SubstituteProjectName's result, in pieces: a large template goes on into
// its file's bytes without a whole substituted copy of it first.
void SubstituteInto(SubstitutedPieces& out, TemplateKind kind, AnsiView text, const ProjectNameForms& forms);

}  // namespace kx
