// The shell request of DeleteFolderContents, as data.
#pragma once

#include "UnitFunction.h"

namespace kx {

// SHFileOperation values used by DeleteFolderContents.
constexpr unsigned kFoDelete = 0x3;
constexpr unsigned kFofSilent = 0x4;
constexpr unsigned kFofNoConfirmation = 0x10;
constexpr unsigned kFofAllowUndo = 0x40;
constexpr unsigned kFofFilesOnly = 0x80;
constexpr unsigned kFofNoErrorUi = 0x400;

// dir, a backslash unless its last character already is one (by GBK
// characters: the 5C of 81 5C is no backslash), "*.*" and one zero byte. The
// string's own terminator is the second zero that ends the list, so
// c_str() is the double-zero list "D:\\work\\demo\\*.*\0\0".
AnsiString DeleteSourceList(const AnsiString& dir);

// 0x414, plus FOF_FILESONLY without subfolders, plus FOF_ALLOWUNDO for the bin.
unsigned DeleteFlags(bool includeSubfolders, bool toRecycleBin);

}  // namespace kx
