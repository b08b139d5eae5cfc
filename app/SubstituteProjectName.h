// Putting the project name into a template: the one placeholder "$ProjectName$"
// stands for the name, and each occurrence gets the form of the name that its
// place in the file can hold.
#pragma once

#include "KxTypes.h"

namespace kx {

inline constexpr char kProjectNamePlaceholder[] = "$ProjectName$";

// What kind of file a template becomes; it decides how a place is read.
enum class TemplateKind {
    ProjectFile,  // XML
    WindowFile,   // KX window description
    Script,       // KX script
};

// The template text with every "$ProjectName$" replaced by a form of name.
// Pure: GBK text and GBK name in, GBK text out; it never fails.
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
//                name, an event's handler name): KxIdentifierFrom(name).
//   Script       in a string literal: the name as typed, with '\\' and '"'
//                escaped as the literal needs; in a "//" comment: the name as
//                typed; anywhere else (a function or variable name):
//                KxIdentifierFrom(name).
// Quotes and comments are read as KX reads them, on GBK characters, so a
// second byte of a double-byte character never opens or closes one; a line
// end closes an open quote.
//
// For a name that is a KX name and holds none of & < > " ' \ every form is the
// name itself, and the result is exactly ReplaceAll(text, placeholder, name).
AnsiString SubstituteProjectName(TemplateKind kind, const AnsiString& text, const AnsiString& name);

}  // namespace kx
