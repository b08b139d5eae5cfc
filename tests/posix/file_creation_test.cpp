// POSIX: file creation as CreateFileA does it, and the names Windows refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

#include "FileSystem.h"
#include "UnitFunction.h"
#include "support/ScopedMount.h"
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
        EXPECT_FALSE(CreateFolder(temp.Child(name))) << name;
    }
    EXPECT_TRUE(test::ListFolder(temp.Path()).empty());
}

TEST(WindowsNames, FilesWindowsCannotCreateRaiseTheCreationError) {
    TempFolder temp;
    for (const char* name : kWindowsInvalidNames) {
        const AnsiString path = temp.Child(name);
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
        EXPECT_TRUE(CreateFolder(temp.Child(name))) << name;
    }
}

// A disk with no room left: a tmpfs filled up to its last byte.
class FullDisk {
public:
    explicit FullDisk(const TempFolder& temp) : at_(temp.Child("disk")) {
        if (!test::MakeFolder(at_)) return;
        mount_.emplace(test::ScopedMount::Tmpfs(at_, "64k"));
        if (!mount_->Mounted()) return;
        const int fd = ::open((at_ + "/filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        const std::string block(4096, 'f');
        while (fd >= 0 && ::write(fd, block.data(), block.size()) > 0) {
        }
        while (fd >= 0 && ::write(fd, "f", 1) > 0) {
        }
        if (fd >= 0) ::close(fd);
    }
    bool Ready() const { return mount_ && mount_->Mounted(); }
    std::string Reason() const { return mount_ ? mount_->Reason() : "no folder for the mount"; }
    std::string Child(const std::string& name) const { return at_ + "/" + name; }

private:
    std::string at_;
    std::optional<test::ScopedMount> mount_;
};

TEST(FileCreation, ShortWriteRaisesTheWriteErrorNamingTheFile) {
    TempFolder temp;
    FullDisk disk(temp);
    if (!disk.Ready()) GTEST_SKIP() << disk.Reason();
    for (const auto& writer : test::kTextWriters) {
        const AnsiString path = disk.Child(std::string("full-") + writer.name);
        EXPECT_EQ(WriterErrorOf(writer.write, path), "EWriteError: Stream write error: \"" + path + "\"") << writer.name;
    }
    EXPECT_FALSE(ExtractResourceToFile(disk.Child("payload"), "HUNDRED", "TESTTXT"));
    EXPECT_FALSE(test::PathExists(disk.Child("payload"))) << "no cut-off payload is left";
}

// Nothing but a regular file is ever written: whatever else stands at the
// path is reported with the path and stays as it is.
TEST(FileCreation, OnlyRegularFilesAreEverOverwritten) {
    TempFolder temp;
    const std::string victim = temp.Child("victim.txt");
    ASSERT_TRUE(test::WriteFileBytes(victim, "someone else's file"));
    const struct {
        const char* what;
        std::function<bool(const std::string&)> make;
    } cases[] = {
        {"a link to a file outside", [&](const std::string& p) { return ::symlink(victim.c_str(), p.c_str()) == 0; }},
        {"a link to a device", [](const std::string& p) { return ::symlink("/dev/null", p.c_str()) == 0; }},
        {"a dangling link", [&](const std::string& p) { return ::symlink(temp.Child("nowhere").c_str(), p.c_str()) == 0; }},
        {"a FIFO", [](const std::string& p) { return ::mkfifo(p.c_str(), 0666) == 0; }},
        {"a folder", [](const std::string& p) { return ::mkdir(p.c_str(), 0777) == 0; }},
        {"a socket",
         [](const std::string& p) {
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             std::snprintf(address.sun_path, sizeof address.sun_path, "%s", p.c_str());
             const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
             if (fd >= 0) ::close(fd);
             return bound;
         }},
        {"a device node", [](const std::string& p) { return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; }},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = temp.Child("in-the-way-" + std::to_string(index++));
        if (!c.make(path)) {
            std::printf("skipped \"%s\": %s\n", c.what, std::strerror(errno));
            continue;
        }
        struct stat before {};
        ASSERT_EQ(::lstat(path.c_str(), &before), 0);
        for (const auto& writer : test::kTextWriters) {
            EXPECT_THAT(WriterErrorOf(writer.write, path), StartsWith(CreateErrorStart(path))) << writer.name;
        }
        EXPECT_FALSE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT"));
        struct stat after {};
        ASSERT_EQ(::lstat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino, before.st_ino);
    }
    EXPECT_EQ(test::ReadFileBytes(victim).value_or(""), "someone else's file");
    EXPECT_FALSE(test::PathExists(temp.Child("nowhere")));
}

TEST(FileCreation, ShortWriteLeavesNoDescriptorOpen) {
    TempFolder temp;
    FullDisk disk(temp);
    if (!disk.Ready()) GTEST_SKIP() << disk.Reason();
    const int before = ::dup(0);
    ::close(before);
    for (int i = 0; i < 20; ++i) WriterErrorOf(SaveUtf8File, disk.Child("x.txt"));
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
    const AnsiString path = temp.Child("missing/x.txt");
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
