// POSIX: file creation as CreateFileA does it, and the names Windows refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "FileSystem.h"
#include "UnitFunction.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::CreateErrorStart;
using test::TempFolder;
using test::WriterErrorOf;
using testing::StartsWith;

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
        SCOPED_TRACE(name);
        for (const auto& writer : test::kTextWriters) {
            EXPECT_THAT(WriterErrorOf(writer.write, path), StartsWith(CreateErrorStart(path))) << writer.name;
        }
        EXPECT_FALSE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT"));
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
    for (const auto& writer : test::kTextWriters) {
        EXPECT_EQ(WriterErrorOf(writer.write, "/dev/full"), "EWriteError: Stream write error") << writer.name;
    }
    EXPECT_FALSE(ExtractResourceToFile("/dev/full", "HUNDRED", "TESTTXT"));
}

TEST(FileCreation, ShortWriteLeavesNoDescriptorOpen) {
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    const int before = ::dup(0);
    ::close(before);
    for (int i = 0; i < 20; ++i) WriterErrorOf(SaveUtf8File, "/dev/full");
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
    const std::string message = WriterErrorOf(SaveUtf8File, path);
    EXPECT_EQ(message, CreateErrorStart(path) + "Permission denied");
    EXPECT_FALSE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT"));
    EXPECT_EQ(test::ReadFileBytes(path).value_or(""), "original");
}

TEST(FileCreation, FifoFailsInsteadOfHanging) {
    TempFolder temp;
    const AnsiString path = temp.Child("pipe");
    ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
    // Extract has no reader to write to.
    EXPECT_FALSE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT"));
    // The writers open for reading too, so they are the FIFO's reader: what
    // they wrote would be lost, or block for ever once the pipe is full.
    for (const auto& writer : test::kTextWriters) {
        EXPECT_THAT(WriterErrorOf(writer.write, path), StartsWith(CreateErrorStart(path))) << writer.name;
    }
}

TEST(FileCreation, NewFileIsNotRefusedUnderAReadOnlyUmask) {
    TempFolder temp;
    const mode_t old = ::umask(0222);
    const AnsiString path = temp.Child("new.txt");
    const std::string result = WriterErrorOf(SaveUtf8File, path);
    ::umask(old);
    EXPECT_EQ(result, "none");
    EXPECT_EQ(test::ReadFileBytes(path).value_or(""), "\xEF\xBB\xBF" "abc");
}

TEST(FileCreation, MissingFolderMessageCarriesTheSystemText) {
    TempFolder temp;
    const AnsiString path = temp.Path() + "\\missing\\x.txt";
    EXPECT_EQ(WriterErrorOf(SaveUtf8File, path), CreateErrorStart(path) + "No such file or directory");
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
