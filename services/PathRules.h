// Rules about ANSI (GBK) paths that every platform shares. A path separator is
// a backslash or a slash that is a character of its own: in code page 936 a
// 0x5C byte can be the second byte of a double-byte character (乗 is 81 5C),
// and then it is not a separator.
#pragma once

#include <cstddef>
#include <string>

#include "KxTypes.h"

namespace kx {

// True when the last character of text (not merely its last byte) is a backslash.
bool EndsWithBackslashChar(const AnsiString& text);

// The component after the last separator (kPathSeparators), after trailing
// separators are dropped ("a\\b\\" gives "b" on Windows); the whole text when
// it has no separator.
AnsiString LastPathComponent(const AnsiString& path);

// The rule of Windows file names that a name breaks, so that a refusal can
// say which.
enum class WindowsNameRule {
    None,                // Windows can create the name
    Empty,               // empty, "." or ".."
    ForbiddenCharacter,  // one of < > : " / \\ | ? * or a control character below 0x20
    TrailingDotOrSpace,  // Windows drops them and would open another name
    ReservedDevice,      // CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9 in any letter
                         // case, alone or with an extension ("nul.txt")
    UndefinedCharacter,  // a byte pair code page 936 does not define (a lead
                         // byte before a byte below 0x40, 0x7F or 0xFF: the
                         // ANSI calls turn it into '?'), or a lead byte at the
                         // end (the ANSI calls drop it)
};

// The first rule name breaks, judged by GBK characters: bytes of double-byte
// characters are never taken for the forbidden ASCII ones.
WindowsNameRule BrokenWindowsNameRule(const AnsiString& name);

// False for a name that Windows cannot create as a file or folder.
inline bool IsWindowsCreatableName(const AnsiString& name) {
    return BrokenWindowsNameRule(name) == WindowsNameRule::None;
}

// False for a path that the ANSI file calls would take for another one: a
// zero byte ends the C string early, so the call would reach a parent or a
// sibling, and a lead byte as the last character is dropped or takes what
// the caller appends ("\\*.*") as its second byte, so the path names a
// sibling. Every file and folder routine refuses such a path before any call.
bool IsIntactAnsiPath(const AnsiString& path);

// True for "X:\..." or "X:/..." and for UNC paths starting with two separators.
bool IsAbsoluteWindowsPath(const AnsiString& path);

}  // namespace kx
