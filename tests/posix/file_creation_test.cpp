// POSIX: file creation as CreateFileA does it, and the names Windows refuses.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "FileSystem.h"
#include "UnitFunction.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::TempFolder;

template <typename Writer>
std::string ErrorOf(Writer writer, const AnsiString& path) {
    try {
        writer(path, "abc", true);
    } catch (const EFCreateError& e) {
        return "EFCreateError: " + e.Message();
    } catch (const EWriteError& e) {
        return "EWriteError: " + e.Message();
    }
    return "none";
}

const char* const kWindowsInvalidNames[] = {
    "a<b", "a>b", "a:b", "a\"b", "a|b", "a?b", "a*b", "tab\tname", "new\nline",
    "dot.", "space ", "CON", "con.txt", "Prn", "AUX.log", "nul", "COM1", "com9.dat", "LPT1", "lpt9.txt",
    "lead\x81", "pair\x81 x", "pair\x81\x7F",  // Windows drops the lead byte, or reads '?'
};

TEST(WindowsNames, FoldersWindowsCannotCreateAreRefused) {
    TempFolder temp;
    for (const char* name : kWindowsInvalidNames) {
        EXPECT_FALSE(CreateFolder(temp.Path() + "\\" + name)) << name;
    }
    EXPECT_TRUE(test::ListFolder(temp.Path()).empty());
}

TEST(WindowsNames, FilesWindowsCannotCreateRaiseTheCreationError) {
    TempFolder temp;
    for (const char* name : kWindowsInvalidNames) {
        const AnsiString path = temp.Path() + "\\" + name;
        const std::string prefix = "EFCreateError: Cannot create file \"" + path + "\". ";
        EXPECT_EQ(ErrorOf(SaveUtf8File, path).rfind(prefix, 0), 0u) << name;
        EXPECT_EQ(ErrorOf(SaveUtf16File, path).rfind(prefix, 0), 0u) << name;
        EXPECT_FALSE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT")) << name;
    }
    EXPECT_TRUE(test::ListFolder(temp.Path()).empty());
}

TEST(WindowsNames, ValidNamesNearTheRulesAreCreated) {
    TempFolder temp;
    for (const char* name : {"con1", "COM10", "console.txt", "a.b.c", ".kx", "\x81\x7C"}) {
        EXPECT_TRUE(CreateFolder(temp.Path() + "\\" + name)) << name;
    }
}

TEST(FileCreation, ShortWriteRaisesTheWriteError) {
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(ErrorOf(SaveUtf8File, "/dev/full"), "EWriteError: Stream write error");
    EXPECT_EQ(ErrorOf(SaveUtf16File, "/dev/full"), "EWriteError: Stream write error");
    EXPECT_FALSE(ExtractResourceToFile("/dev/full", "HUNDRED", "TESTTXT"));
}

TEST(FileCreation, ShortWriteLeavesNoDescriptorOpen) {
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    const int before = ::dup(0);
    ::close(before);
    for (int i = 0; i < 20; ++i) ErrorOf(SaveUtf8File, "/dev/full");
    const int after = ::dup(0);
    ::close(after);
    EXPECT_EQ(after, before);  // the lowest free descriptor is the same: nothing leaked
}

TEST(FileCreation, ReadOnlyFileIsRefusedEvenForRoot) {
    // Root may write to a file without write permission; Windows refuses a
    // read-only file to everyone, and so does this layer.
    TempFolder temp;
    const AnsiString path = temp.Child("ro.txt");
    ASSERT_TRUE(test::WriteFileBytes(path, "original"));
    ASSERT_TRUE(test::SetReadOnly(path, true));
    const std::string message = ErrorOf(SaveUtf8File, path);
    EXPECT_EQ(message, "EFCreateError: Cannot create file \"" + path + "\". " + "Permission denied");
    EXPECT_FALSE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT"));
    EXPECT_EQ(test::ReadFileBytes(path).value_or(""), "original");
}

TEST(FileCreation, FifoWithoutAReaderFailsInsteadOfHanging) {
    TempFolder temp;
    const AnsiString path = temp.Child("pipe");
    ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
    EXPECT_FALSE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT"));
}

TEST(FileCreation, FifoMakesTheWritersRaiseTheCreationError) {
    // The writers open for reading too, so they are the FIFO's reader: what
    // they wrote would be lost, or block for ever once the pipe is full.
    TempFolder temp;
    const AnsiString path = temp.Child("pipe");
    ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
    const std::string prefix = "EFCreateError: Cannot create file \"" + path + "\". ";
    EXPECT_EQ(ErrorOf(SaveUtf8File, path).rfind(prefix, 0), 0u) << ErrorOf(SaveUtf8File, path);
    EXPECT_EQ(ErrorOf(SaveUtf16File, path).rfind(prefix, 0), 0u);
}

TEST(FileCreation, NewFileIsNotRefusedUnderAReadOnlyUmask) {
    TempFolder temp;
    const mode_t old = ::umask(0222);
    const AnsiString path = temp.Child("new.txt");
    const std::string result = ErrorOf(SaveUtf8File, path);
    ::umask(old);
    EXPECT_EQ(result, "none");
    EXPECT_EQ(test::ReadFileBytes(path).value_or(""), "\xEF\xBB\xBF" "abc");
}

TEST(FileCreation, MissingFolderMessageCarriesTheSystemText) {
    TempFolder temp;
    const AnsiString path = temp.Path() + "\\missing\\x.txt";
    EXPECT_EQ(ErrorOf(SaveUtf8File, path),
              "EFCreateError: Cannot create file \"" + path + "\". No such file or directory");
}

TEST(FileCreation, NewFilesGetOrdinaryPermissions) {
    TempFolder temp;
    const mode_t old = ::umask(022);
    SaveUtf8File(temp.Child("a.txt"), "a", true);
    ASSERT_TRUE(ExtractResourceToFile(temp.Child("b.bin"), "HUNDRED", "TESTTXT"));
    ::umask(old);
    struct stat st {};
    ASSERT_EQ(::stat(temp.Child("a.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    ASSERT_EQ(::stat(temp.Child("b.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

}  // namespace
}  // namespace kx
