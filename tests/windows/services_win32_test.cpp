// Windows only: what the services do against real Windows file semantics
// (sharing, full paths, the system's messages) and COM's GUID text.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "GuidText.h"
#include "UnitFunction.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::TempFolder;

struct OpenFile {
    HANDLE handle;
    OpenFile(const std::string& path, DWORD share, DWORD access = GENERIC_READ)
        : handle(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~OpenFile() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
};

template <typename Writer>
std::string CreateErrorOf(Writer writer, const AnsiString& path) {
    try {
        writer(path, "abc", true);
    } catch (const EFCreateError& error) {
        return error.Message();
    }
    return "no error";
}

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

TEST(FileHeldOpen, ExtractSharesWritingButNotReading) {
    // Extract opens for writing only and lets others write: a holder that
    // writes and shares writing does not stop it; one that reads does.
    TempFolder folder;
    const auto path = folder.Child("shared.bin");
    ASSERT_TRUE(test::WriteFileBytes(path, "original"));
    {
        OpenFile writer(path, FILE_SHARE_WRITE, GENERIC_WRITE);
        ASSERT_NE(writer.handle, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT"));
    }
    {
        OpenFile reader(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, GENERIC_READ);
        ASSERT_NE(reader.handle, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(ExtractResourceToFile(path, "ALLBYTES", "TESTBIN"));
    }
    EXPECT_EQ(test::ReadFileBytes(path).value_or("").size(), 100u);
}

TEST(FileHeldOpen, WritersShareNothingSoAHolderSharingEverythingStopsThem) {
    TempFolder folder;
    const auto path = folder.Child("shared.txt");
    ASSERT_TRUE(test::WriteFileBytes(path, "original"));
    {
        OpenFile holder(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, GENERIC_READ);
        ASSERT_NE(holder.handle, INVALID_HANDLE_VALUE);
        const std::string prefix = "Cannot create file \"" + path + "\". ";
        EXPECT_EQ(CreateErrorOf(SaveUtf8File, path).rfind(prefix, 0), 0u);
        EXPECT_EQ(CreateErrorOf(SaveUtf16File, path).rfind(prefix, 0), 0u);
    }
    EXPECT_EQ(test::ReadFileBytes(path).value_or(""), "original");
}

TEST(FileHeldOpen, WithoutSharingExtractIsFalseAndTheFileUnchanged) {
    TempFolder folder;
    const auto path = folder.Child("locked.bin");
    ASSERT_TRUE(test::WriteFileBytes(path, "original"));
    {
        OpenFile holder(path, 0);
        ASSERT_NE(holder.handle, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT"));
    }
    EXPECT_EQ(test::ReadFileBytes(path).value_or(""), "original");
}

TEST(FileHeldOpen, ReadSharingOnlyStillRefusesTheWriter) {
    TempFolder folder;
    const auto path = folder.Child("locked.bin");
    ASSERT_TRUE(test::WriteFileBytes(path, "original"));
    {
        OpenFile holder(path, FILE_SHARE_READ);
        ASSERT_NE(holder.handle, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT"));
    }
    EXPECT_EQ(test::ReadFileBytes(path).value_or(""), "original");
}

TEST(FileHeldOpen, WithoutSharingTheWritersRaiseTheCreationError) {
    TempFolder folder;
    const auto path = folder.Child("locked.txt");
    ASSERT_TRUE(test::WriteFileBytes(path, "original"));
    {
        OpenFile holder(path, 0);
        ASSERT_NE(holder.handle, INVALID_HANDLE_VALUE);
        const std::string prefix = "Cannot create file \"" + path + "\". ";
        const std::string utf8 = CreateErrorOf(SaveUtf8File, path);
        EXPECT_EQ(utf8.rfind(prefix, 0), 0u) << utf8;
        EXPECT_GT(utf8.size(), prefix.size()) << "the system's text is missing";
        EXPECT_EQ(CreateErrorOf(SaveUtf16File, path).rfind(prefix, 0), 0u);
    }
    EXPECT_EQ(test::ReadFileBytes(path).value_or(""), "original");
}

TEST(FileHeldOpen, TheWritersOpenWithoutSharing) {
    // While a writer has the file, nobody else can open it; afterwards
    // anybody can: the handle was closed.
    TempFolder folder;
    const auto path = folder.Child("free.txt");
    SaveUtf8File(path, "abc", true);
    OpenFile after(path, 0);
    EXPECT_NE(after.handle, INVALID_HANDLE_VALUE);
}

TEST(CreateErrorPath, RelativePathIsShownAsTheFullPath) {
    TempFolder folder;
    char old[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, old), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    const std::string message = CreateErrorOf(SaveUtf8File, "missing\\x.txt");
    SetCurrentDirectoryA(old);
    const std::string prefix = "Cannot create file \"" + folder.Path() + "\\missing\\x.txt\". ";
    EXPECT_EQ(message.rfind(prefix, 0), 0u) << message;
}

TEST(CreateErrorPath, ChinesePathIsShownInAnsi) {
    TempFolder folder;
    const auto path = folder.Child("\xC9\xFA\xB3\xC9\\\xD6\xF7.txt");  // 生成\主.txt, folder missing
    const std::string message = CreateErrorOf(SaveUtf16File, path);
    EXPECT_EQ(message.rfind("Cannot create file \"" + path + "\". ", 0), 0u) << message;
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

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string EnvironmentValue(const char* name) {
    char value[1024] = {};
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return (n > 0 && n < sizeof value) ? std::string(value, n) : std::string();
}

TEST(DeleteFolderContentsOnWindows, RecycleBinEmptiesTheFolder) {
    // Under Wine the bin is the Unix user's freedesktop trash, named by the
    // Unix environment that Wine hands down; a private one keeps tests from
    // filling the real one.
    const bool wine = RunningUnderWine();
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
        std::string trashed = "Z:" + dataHome + "/Trash/files/" + unique;
        for (char& c : trashed) {
            if (c == '/') c = '\\';
        }
        EXPECT_EQ(test::ReadFileBytes(trashed).value_or("<not in the trash>"), "keep me in the bin");
        test::RemoveTree(trashed);
        std::string info = "Z:" + dataHome + "/Trash/info/" + unique + ".trashinfo";
        for (char& c : info) {
            if (c == '/') c = '\\';
        }
        test::RemoveTree(info);
    }
}

}  // namespace
}  // namespace kx
