// The workflow's own texts, as GBK bytes (the readable text stands beside each).
#pragma once

namespace kx::texts {

// Folders and files.
inline constexpr char kOutputRootName[] = "KX\xCF\xEE\xC4\xBF";  // KX项目
inline constexpr char kBuildFolderName[] = "\xC9\xFA\xB3\xC9";   // 生成
inline constexpr char kRuntimeFunFile[] =                        // 运行时设置函数.kx
    "\xD4\xCB\xD0\xD0\xCA\xB1\xC9\xE8\xD6\xC3\xBA\xAF\xCA\xFD.kx";
inline constexpr char kPublicFunFile[] = "\xB9\xAB\xB9\xB2\xBF\xE2.kx";    // 公共库.kx
inline constexpr char kKeyScriptFile[] = "\xB0\xB4\xBC\xFC\xBD\xC5\xB1\xBE.kx";  // 按键脚本.kx

// Captions.
inline constexpr char kError[] = "\xB4\xED\xCE\xF3";   // 错误
inline constexpr char kNotice[] = "\xCC\xE1\xCA\xBE";  // 提示

// The name prompt: the long question is the title, the short word the label.
inline constexpr char kNamePromptTitle[] =  // 请输入生成的KX项目名称：
    "\xC7\xEB\xCA\xE4\xC8\xEB\xC9\xFA\xB3\xC9\xB5\xC4KX\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6\xA3\xBA";
inline constexpr char kNamePromptLabel[] = "\xCC\xE1\xCA\xBE\xA3\xBA   ";  // 提示：＋three spaces

// Messages.
inline constexpr char kOutputRootFailed[] =  // “KX项目”目录创建失败。
    "\xA1\xB0KX\xCF\xEE\xC4\xBF\xA1\xB1\xC4\xBF\xC2\xBC\xB4\xB4\xBD\xA8\xCA\xA7\xB0\xDC\xA1\xA3";
inline constexpr char kNameEmpty[] =  // 项目名称不能为空。
    "\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5\xA1\xA3";
inline constexpr char kNameMalformed[] =  // 项目名称格式不正确。
    "\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6\xB8\xF1\xCA\xBD\xB2\xBB\xD5\xFD\xC8\xB7\xA1\xA3";
inline constexpr char kProjectExists[] =  // 该项目已经存在，是否重新生成？
    "\xB8\xC3\xCF\xEE\xC4\xBF\xD2\xD1\xBE\xAD\xB4\xE6\xD4\xDA\xA3\xAC\xCA\xC7\xB7\xF1\xD6\xD8\xD0\xC2"
    "\xC9\xFA\xB3\xC9\xA3\xBF";
inline constexpr char kOpenQuote[] = "\xA1\xB0";  // “
inline constexpr char kFolderFailedTail[] =       // ”目录创建失败。
    "\xA1\xB1\xC4\xBF\xC2\xBC\xB4\xB4\xBD\xA8\xCA\xA7\xB0\xDC\xA1\xA3";
inline constexpr char kBuildFolderFailed[] =  // “生成”目录创建失败。
    "\xA1\xB0\xC9\xFA\xB3\xC9\xA1\xB1\xC4\xBF\xC2\xBC\xB4\xB4\xBD\xA8\xCA\xA7\xB0\xDC\xA1\xA3";

// The sample key script: asks for the point "位置名称" once and clicks there.
inline constexpr char kKeyScript[] =
    "function DoSomeWorks()\r\n"
    " GetPoint(\"\xCE\xBB\xD6\xC3\xC3\xFB\xB3\xC6\")\r\n"
    " mouseleftclick()\r\n"
    " sleep(500)\r\n"
    "\r\n"
    "return true\r\n"
    "end";

// Message-box flags.
inline constexpr unsigned kStopIcon = 0x10;      // MB_OK | MB_ICONERROR
inline constexpr unsigned kInfoIcon = 0x40;      // MB_OK | MB_ICONINFORMATION
inline constexpr unsigned kOkCancelAsk = 0x121;  // MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2
inline constexpr int kOk = 1;

}  // namespace kx::texts
