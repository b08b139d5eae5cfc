// Windows only: what the services do against real Windows file semantics
// (sharing, full paths, the system's messages) and COM's GUID text.
#include <windows.h>
#include <objbase.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "GuidText.h"
#include "UnitFunction.h"
#include "support/TempFolder.h"
#include "win32/Win32Handles.h"
#include "windows/Wine.h"

namespace kx {
namespace {

using test::CreateErrorStart;
using test::kTextWriters;
using test::NamedWriter;
using test::TempFolder;
using test::WriterErrorOf;
using testing::StartsWith;

// Opens an existing file the way another program holding it would.
FileHandle Hold(const std::string& path, DWORD access, DWORD share) {
    return FileHandle(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

TEST(WindowsSetting, AnsiCodePagesAre936) {
    // Every expected byte in these tests assumes GBK; the Wine runner sets it.
    EXPECT_EQ(GetACP(), 936u);
    char page[8] = {};
    ASSERT_GT(GetLocaleInfoA(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, page, sizeof page), 0);
    EXPECT_STREQ(page, "936");
}

TEST(WindowsSetting, Utf8WriterReadsTheThreadsPageAndUtf16WriterTheSystems) {
    // With an English thread locale the thread's ANSI page is 1252: D6 D0 are
    // two letters there, one character (中) in the system's page 936.
    const LCID old = GetThreadLocale();
    ASSERT_TRUE(SetThreadLocale(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT)));
    TempFolder folder;
    SaveUtf8File(folder.Child("u8.txt"), "\xD6\xD0", false);
    SaveUtf16File(folder.Child("u16.txt"), "\xD6\xD0", false);
    SetThreadLocale(old);
    EXPECT_EQ(test::Hex(test::ReadFileBytes(folder.Child("u8.txt")).value_or("")), "C3 96 C3 90");  // Ö Ð
    EXPECT_EQ(test::Hex(test::ReadFileBytes(folder.Child("u16.txt")).value_or("")), "2D 4E");      // 中
}

TEST(FileHeldOpen, ExtractWritesOnlyAndSharesOnlyWriting) {
    // A holder that writes and shares writing does not stop Extract; one that
    // reads does, whatever it shares, and the file stays as it was.
    struct Case {
        const char* holder;
        DWORD access;
        DWORD share;
        bool extracted;
    };
    const Case cases[] = {
        {"a writer sharing writing", GENERIC_WRITE, FILE_SHARE_WRITE, true},
        {"a reader sharing nothing", GENERIC_READ, 0, false},
        {"a reader sharing reading only", GENERIC_READ, FILE_SHARE_READ, false},
        {"a reader sharing everything", GENERIC_READ, kShareAll, false},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.holder);
        const auto path = folder.Child("held.bin");
        ASSERT_TRUE(test::WriteFileBytes(path, "original"));
        {
            const FileHandle holder = Hold(path, c.access, c.share);
            ASSERT_TRUE(holder.Valid());
            EXPECT_EQ(ExtractResourceToFile(path, "HUNDRED", "TESTTXT"), c.extracted);
        }
        const std::string bytes = test::ReadFileBytes(path).value_or("");
        if (c.extracted) {
            EXPECT_EQ(bytes.size(), 100u);
        } else {
            EXPECT_EQ(bytes, "original");
        }
    }
}

TEST(FileHeldOpen, WritersShareNothingSoAnyHolderStopsThem) {
    TempFolder folder;
    const auto path = folder.Child("held.txt");
    ASSERT_TRUE(test::WriteFileBytes(path, "original"));
    for (const DWORD share : {DWORD{0}, kShareAll}) {
        const FileHandle holder = Hold(path, GENERIC_READ, share);
        ASSERT_TRUE(holder.Valid());
        for (const NamedWriter& writer : kTextWriters) {
            SCOPED_TRACE(std::string(writer.name) + ", holder sharing " + std::to_string(share));
            const std::string error = WriterErrorOf(writer.write, path);
            EXPECT_THAT(error, StartsWith(CreateErrorStart(path)));
            EXPECT_GT(error.size(), CreateErrorStart(path).size()) << "the system's text is missing";
        }
    }
    EXPECT_EQ(test::ReadFileBytes(path).value_or(""), "original");
}

TEST(FileHeldOpen, TheWritersOpenWithoutSharing) {
    // While a writer has the file, nobody else can open it; afterwards
    // anybody can: the handle was closed.
    TempFolder folder;
    const auto path = folder.Child("free.txt");
    SaveUtf8File(path, "abc", true);
    EXPECT_TRUE(Hold(path, GENERIC_READ, 0).Valid());
}

TEST(CreateErrorPath, RelativePathIsShownAsTheFullPath) {
    TempFolder folder;
    char old[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, old), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    const std::string error = WriterErrorOf(SaveUtf8File, "missing\\x.txt");
    SetCurrentDirectoryA(old);
    EXPECT_THAT(error, StartsWith(CreateErrorStart(folder.Path() + "\\missing\\x.txt")));
}

TEST(CreateErrorPath, ChinesePathIsShownInAnsi) {
    TempFolder folder;
    const auto path = folder.Child("\xC9\xFA\xB3\xC9\\\xD6\xF7.txt");  // 生成\主.txt, folder missing
    EXPECT_THAT(WriterErrorOf(SaveUtf16File, path), StartsWith(CreateErrorStart(path)));
}

TEST(GuidTextOnWindows, SameLayoutAsStringFromCLSID) {
    for (int i = 0; i < 20; ++i) {
        GUID guid{};
        ASSERT_EQ(CoCreateGuid(&guid), S_OK);
        LPOLESTR wide = nullptr;
        ASSERT_EQ(StringFromCLSID(guid, &wide), S_OK);
        std::string expected;
        for (const OLECHAR* p = wide; *p; ++p) expected += static_cast<char>(*p);
        CoTaskMemFree(wide);
        unsigned char bytes[16];
        std::memcpy(bytes, &guid, sizeof bytes);
        EXPECT_EQ(FormatGuidText(GuidFromBytes(bytes)), expected);
    }
}

BOOL CALLBACK NoteVisibleWindow(HWND window, LPARAM found) {
    if (IsWindowVisible(window)) *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

TEST(DeleteFolderContentsOnWindows, NoWindowIsLeftBehind) {
    TempFolder folder;
    const auto project = folder.Child("demo");
    ASSERT_TRUE(test::MakeFolder(project));
    ASSERT_TRUE(test::WriteFileBytes(project + "\\a.txt", "a"));
    // A failing request (a missing folder) and a working one: neither may
    // leave a window of this thread (a dialog) open.
    DeleteFolderContents(folder.Child("missing"), true, false);
    EXPECT_TRUE(DeleteFolderContents(project, true, false));
    bool anyWindow = false;
    EnumThreadWindows(GetCurrentThreadId(), NoteVisibleWindow, reinterpret_cast<LPARAM>(&anyWindow));
    EXPECT_FALSE(anyWindow);
}

std::string EnvironmentValue(const char* name) {
    char value[1024] = {};
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return (n > 0 && n < sizeof value) ? std::string(value, n) : std::string();
}

// An absolute Unix path as Wine's drive Z: shows it.
std::string UnixPathUnderWine(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return "Z:" + path;
}

TEST(DeleteFolderContentsOnWindows, RecycleBinEmptiesTheFolder) {
    // Under Wine the bin is the Unix user's freedesktop trash, named by the
    // Unix environment that Wine hands down; a private one keeps tests from
    // filling the real one.
    const bool wine = test::RunningUnderWine();
    const std::string dataHome = EnvironmentValue("XDG_DATA_HOME");
    if (wine && dataHome.empty()) GTEST_SKIP() << "under Wine this needs XDG_DATA_HOME set to a private folder";

    TempFolder folder;
    const auto project = folder.Child("demo");
    ASSERT_TRUE(test::MakeFolder(project));
    const std::string unique = "recycled-" + NewGuidText() + ".txt";
    ASSERT_TRUE(test::WriteFileBytes(project + "\\" + unique, "keep me in the bin"));
    ASSERT_TRUE(test::MakeFolder(project + "\\sub"));

    EXPECT_TRUE(DeleteFolderContents(project, true, true));
    EXPECT_TRUE(test::FolderExists(project));
    EXPECT_EQ(test::ListFolder(project), std::vector<std::string>{});
    if (wine) {
        const std::string trashed = UnixPathUnderWine(dataHome + "/Trash/files/" + unique);
        EXPECT_EQ(test::ReadFileBytes(trashed).value_or("<not in the trash>"), "keep me in the bin");
        test::RemoveTree(trashed);
        test::RemoveTree(UnixPathUnderWine(dataHome + "/Trash/info/" + unique + ".trashinfo"));
    }
}

}  // namespace
}  // namespace kx
