// What a loader and a script's dllcall see in the built GetPointXY.dll, read
// straight from the file so that it holds on every build host.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "PeImage.h"

namespace kx::test {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;

const std::vector<std::uint8_t>& BuiltDll() {
    static const std::vector<std::uint8_t> bytes = ReadWholeFile(KX_POINTPICKER_DLL_PATH);
    return bytes;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(PointPickerExports, DllFileIsThere) {
    EXPECT_FALSE(BuiltDll().empty()) << KX_POINTPICKER_DLL_PATH;
}

TEST(PointPickerExports, IsA32BitWindowsDll) {
    const PeImage image = ReadPeImage(BuiltDll());
    EXPECT_EQ(image.machine, 0x14C);  // i386
    EXPECT_EQ(image.optionalMagic, 0x10B);
    EXPECT_NE(image.characteristics & 0x2000, 0) << "IMAGE_FILE_DLL is not set";
}

TEST(PointPickerExports, DirectoryNamesTheDllGetPointXY) {
    EXPECT_EQ(ReadPeImage(BuiltDll()).exportDllName, "GetPointXY.dll");
}

TEST(PointPickerExports, GetPointIsOrdinalOneAndReadMeOrdinalTwoUndecorated) {
    const PeImage image = ReadPeImage(BuiltDll());
    // Exact names: a stray "_GetPoint@12" or a third export would show here.
    EXPECT_THAT(image.ordinalsByName, ElementsAre(Pair("GetPoint", 1u), Pair("ReadMe", 2u)));
    EXPECT_EQ(image.exportFunctionCount, 2u);
}

TEST(PointPickerExports, ImportsOnlySystemDlls) {
    // A runtime DLL of the compiler (libgcc_s_*, libwinpthread-1, ...) would
    // be missing on the user's machine next to the generated project.
    const std::vector<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                             "advapi32.dll", "shell32.dll", "msvcrt.dll"};
    const PeImage image = ReadPeImage(BuiltDll());
    EXPECT_FALSE(image.importedDlls.empty());
    for (const std::string& dll : image.importedDlls) {
        EXPECT_NE(std::find(system.begin(), system.end(), Lower(dll)), system.end())
            << dll << " is not a system DLL";
    }
}

TEST(PointPickerExports, ReaderRejectsACutOffFileInsteadOfMisreadingIt) {
    // The checks above are only as good as the reader: a file cut inside the
    // export directory must fail loudly rather than yield names.
    std::vector<std::uint8_t> cut = BuiltDll();
    ASSERT_GT(cut.size(), 1024u);
    cut.resize(cut.size() / 2);
    EXPECT_THROW(ReadPeImage(cut), PeFormatError);
    EXPECT_THROW(ReadPeImage({'M', 'Z'}), PeFormatError);
}

}  // namespace
}  // namespace kx::test
