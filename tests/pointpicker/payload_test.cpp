// The DLL that reaches a user is the one the generator writes from its own
// resources, so it is compared with the freshly built file byte for byte.
#include <gtest/gtest.h>

#include "GenerateProject.h"
#include "Texts.h"
#include "UnitFunction.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace kx::test {
namespace {

std::string BuiltDll() {
    return ReadFileBytes(KX_POINTPICKER_DLL_PATH).value_or("");
}

// Equality without dumping kilobytes of binary into the failure message.
::testing::AssertionResult SameBytes(const std::optional<std::string>& written,
                                     const std::string& built) {
    if (!written) return ::testing::AssertionFailure() << "nothing was written";
    if (*written == built) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < written->size() && at < built.size() && (*written)[at] == built[at]) ++at;
    return ::testing::AssertionFailure() << written->size() << " bytes written, " << built.size()
                                         << " built, first difference at offset " << at;
}

TEST(PointPickerPayload, GeneratedProjectCarriesTheBuiltDllByteForByte) {
    const std::string built = BuiltDll();
    ASSERT_FALSE(built.empty()) << KX_POINTPICKER_DLL_PATH;
    TempFolder temp;
    const AnsiString root = temp.Child(texts::kOutputRootName);
    ScriptedDialogs dialogs;
    dialogs.promptAnswers = {AnsiString("demo")};
    FixedHost host(root);

    ASSERT_EQ(GenerateProject(dialogs, host).kind, OutcomeKind::Written);

    const AnsiString dll = JoinPath(JoinPath(JoinPath(root, "demo"), texts::kBuildFolderName),
                                    "GetPointXY.dll");
    EXPECT_TRUE(SameBytes(ReadFileBytes(dll), built)) << dll;
}

TEST(PointPickerPayload, ResourceStoreHandsItOutUnderAnySpellingOfItsName) {
    const std::string built = BuiltDll();
    ASSERT_FALSE(built.empty()) << KX_POINTPICKER_DLL_PATH;
    TempFolder temp;
    const AnsiString asked = temp.Child("asked.dll");
    const AnsiString stored = temp.Child("stored.dll");

    ASSERT_TRUE(ExtractResourceToFile(asked, "GetPointXY", "dll"));
    ASSERT_TRUE(ExtractResourceToFile(stored, "GETPOINTXY", "DLL"));
    EXPECT_TRUE(SameBytes(ReadFileBytes(asked), built));
    EXPECT_TRUE(SameBytes(ReadFileBytes(stored), built));
}

}  // namespace
}  // namespace kx::test
