// GetPointXY.dll called the way a generated script calls it: loaded at run
// time, GetPoint through a stdcall pointer with "pchar *", "plong", "plong",
// while a helper thread answers the box and picks like a person would.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ImportPatch.h"
#include "PickerDriver.h"

namespace kx::test {
namespace {

using GetPointFn = std::int32_t(__stdcall*)(char*, std::int32_t*, std::int32_t*);
using ReadMeFn = void(__stdcall*)();

// 请设置"位置名称"点位置: the prompt of the runtime settings script.
const std::string kPrompt =
    "\xC7\xEB\xC9\xE8\xD6\xC3\"\xCE\xBB\xD6\xC3\xC3\xFB\xB3\xC6\"\xB5\xE3\xCE\xBB\xD6\xC3";
const std::string kNotice = "\xCC\xE1\xCA\xBE";  // 提示

template <class Fn>
Fn Export(HMODULE dll, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

struct Outcome {
    std::int32_t result;
    std::int32_t x;
    std::int32_t y;
};

// Pretends a person answers OK and then acts on the picking window.
using VeilAction = std::function<void(HWND veil)>;

class PointPicker : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dll_ = LoadLibraryA(KX_POINTPICKER_LOADABLE_DLL_PATH);
        loadError_ = GetLastError();
    }
    static void TearDownTestSuite() {
        if (dll_) FreeLibrary(dll_);
        dll_ = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(dll_, nullptr) << KX_POINTPICKER_LOADABLE_DLL_PATH << ": error " << loadError_;
        getPoint_ = Export<GetPointFn>(dll_, "GetPoint");
        ASSERT_NE(getPoint_, nullptr);
    }

    // GetPoint on this thread while person(caller thread) runs on a helper.
    Outcome Call(const std::function<void(DWORD)>& person) {
        const DWORD caller = GetCurrentThreadId();
        volatile LONG done = 0;
        std::thread helper([&] {
            person(caller);
            CloseLeftoversUntil(caller, done);
        });
        std::string prompt = kPrompt;  // "pchar *": the script hands over its own buffer
        Outcome out{12345, 12345, 12345};
        out.result = getPoint_(prompt.data(), &out.x, &out.y);
        InterlockedExchange(&done, 1);
        helper.join();
        return out;
    }

    Outcome AnswerOkThen(const VeilAction& act, bool* veilFound = nullptr) {
        return Call([&](DWORD caller) {
            HWND box = WaitForNoticeBox(caller);
            if (!box) return;
            PressBoxButton(box, IDOK);
            HWND veil = WaitForVeil(caller);
            if (veilFound) *veilFound = veil != nullptr;
            if (!veil) return;
            Sleep(300);  // a person, too, looks before pressing
            act(veil);
        });
    }

    static HMODULE dll_;
    static DWORD loadError_;
    GetPointFn getPoint_ = nullptr;
};

HMODULE PointPicker::dll_ = nullptr;
DWORD PointPicker::loadError_ = 0;

void PostPressAt(HWND veil, POINT screen) {
    POINT client = screen;
    ScreenToClient(veil, &client);
    PostMessageA(veil, WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
}

TEST_F(PointPicker, LoaderFindsBothExportsByNameAndByOrdinal) {
    EXPECT_EQ(GetProcAddress(dll_, MAKEINTRESOURCEA(1)), GetProcAddress(dll_, "GetPoint"));
    EXPECT_EQ(GetProcAddress(dll_, MAKEINTRESOURCEA(2)), GetProcAddress(dll_, "ReadMe"));
    EXPECT_NE(GetProcAddress(dll_, "ReadMe"), nullptr);
}

TEST_F(PointPicker, CancelGivesMinusOneBothAndZero) {
    bool boxFound = false;
    const Outcome out = Call([&](DWORD caller) {
        HWND box = WaitForNoticeBox(caller);
        boxFound = box != nullptr;
        if (box) PressBoxButton(box, IDCANCEL);
    });
    ASSERT_TRUE(boxFound);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.x, -1);
    EXPECT_EQ(out.y, -1);
}

TEST_F(PointPicker, BoxShowsThePromptUnderNoticeWithOkCancelAndInformationIcon) {
    BoxSeen box;
    bool boxFound = false;
    Call([&](DWORD caller) {
        HWND found = WaitForNoticeBox(caller);
        boxFound = found != nullptr;
        if (!found) return;
        box = DescribeBox(found);
        PressBoxButton(found, IDCANCEL);
    });
    ASSERT_TRUE(boxFound);
    EXPECT_EQ(box.caption, kNotice);
    EXPECT_EQ(box.text, kPrompt);
    EXPECT_EQ(box.visibleButtons, (std::set<int>{IDOK, IDCANCEL}));
    EXPECT_TRUE(box.informationIcon);
}

struct BoxRequest {
    std::string text;
    std::string caption;
    UINT flags;
};
std::vector<BoxRequest> boxRequests;
void* realMessageBox = nullptr;

int WINAPI RecordMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT flags) {
    boxRequests.push_back({text ? text : "(null)", caption ? caption : "(null)", flags});
    using Fn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
    return reinterpret_cast<Fn>(realMessageBox)(owner, text, caption, flags);
}

TEST_F(PointPicker, BoxIsAskedForWithExactlyTopmostInformationOkCancel) {
    ImportPatch patch(dll_, "user32.dll", "MessageBoxA",
                      reinterpret_cast<void*>(RecordMessageBoxA));
    ASSERT_TRUE(patch.Applied()) << "GetPointXY.dll does not import MessageBoxA from user32";
    realMessageBox = patch.Original();
    boxRequests.clear();
    Call([](DWORD caller) {
        if (HWND box = WaitForNoticeBox(caller)) PressBoxButton(box, IDCANCEL);
    });
    ASSERT_EQ(boxRequests.size(), 1u);
    EXPECT_EQ(boxRequests[0].flags, 0x40041u);  // MB_TOPMOST | MB_ICONINFORMATION | MB_OKCANCEL
    EXPECT_EQ(boxRequests[0].caption, kNotice);
    EXPECT_EQ(boxRequests[0].text, kPrompt);
}

TEST_F(PointPicker, BoxIsTopmostWhereThePlatformShowsIt) {
    // Wine 8 keeps MB_TOPMOST to itself; a box of our own tells whether this
    // platform would show the flag at all.
    const DWORD caller = GetCurrentThreadId();
    volatile LONG done = 0;
    bool probeTopmost = false;
    std::thread probe([&] {
        if (HWND box = WaitForNoticeBox(caller)) {
            probeTopmost = DescribeBox(box).topmost;
            PressBoxButton(box, IDCANCEL);
        }
        CloseLeftoversUntil(caller, done);
    });
    MessageBoxA(nullptr, "probe", kNotice.c_str(), MB_OKCANCEL | MB_ICONINFORMATION | MB_TOPMOST);
    InterlockedExchange(&done, 1);
    probe.join();
    if (!probeTopmost) GTEST_SKIP() << "this platform does not show MB_TOPMOST as WS_EX_TOPMOST";

    bool topmost = false;
    Call([&](DWORD thread) {
        if (HWND box = WaitForNoticeBox(thread)) {
            topmost = DescribeBox(box).topmost;
            PressBoxButton(box, IDCANCEL);
        }
    });
    EXPECT_TRUE(topmost);
}

TEST_F(PointPicker, LeftPressAfterOkGivesThatScreenPointAndOne) {
    bool veilFound = false;
    const Outcome out =
        AnswerOkThen([](HWND) { ClickScreenAt({321, 234}, Button::Left); }, &veilFound);
    ASSERT_TRUE(veilFound);
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(out.x, 321);
    EXPECT_EQ(out.y, 234);
}

TEST_F(PointPicker, RightAndMiddlePressesPickAsWell) {
    const Outcome right = AnswerOkThen([](HWND) { ClickScreenAt({1001, 702}, Button::Right); });
    EXPECT_EQ(right.result, 1);
    EXPECT_EQ(right.x, 1001);
    EXPECT_EQ(right.y, 702);
    const Outcome middle = AnswerOkThen([](HWND) { ClickScreenAt({5, 1000}, Button::Middle); });
    EXPECT_EQ(middle.result, 1);
    EXPECT_EQ(middle.x, 5);
    EXPECT_EQ(middle.y, 1000);
}

TEST_F(PointPicker, PickingWindowCoversTheScreenTopmostFramelessSeeThroughWithCrossHair) {
    VeilSeen veil;
    bool veilFound = false;
    const Outcome out = AnswerOkThen(
        [&](HWND found) {
            veil = DescribeVeil(found);
            TypeEscape();
        },
        &veilFound);
    ASSERT_TRUE(veilFound);
    EXPECT_TRUE(veil.maximised);
    EXPECT_TRUE(veil.topmost);
    EXPECT_TRUE(veil.frameless);
    EXPECT_EQ(veil.rect.left, 0);
    EXPECT_EQ(veil.rect.top, 0);
    EXPECT_EQ(veil.rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(veil.rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(veil.crossCursor);
    // More than half of the screen's light comes through, yet the veil is
    // there to be pressed on.
    EXPECT_TRUE(veil.layeredAlpha);
    EXPECT_GT(veil.alpha, 0);
    EXPECT_LT(veil.alpha, 128);
    EXPECT_EQ(out.result, 0);
}

TEST_F(PointPicker, EscapeInThePickingWindowGivesMinusOneBothAndZero) {
    bool veilFound = false;
    const Outcome out = AnswerOkThen([](HWND) { TypeEscape(); }, &veilFound);
    ASSERT_TRUE(veilFound);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.x, -1);
    EXPECT_EQ(out.y, -1);
}

TEST_F(PointPicker, PressLeftOfAndAboveThePrimaryScreenGivesNegativeCoordinates) {
    // Only a second monitor produces such a press; the 16-bit values in the
    // message must come back sign-extended, not as 65531 and 65529.
    const Outcome out = AnswerOkThen([](HWND veil) { PostPressAt(veil, {-5, -7}); });
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(out.x, -5);
    EXPECT_EQ(out.y, -7);
}

TEST_F(PointPicker, APointOfMinusOneBothCountsAsNoPoint) {
    const Outcome out = AnswerOkThen([](HWND veil) { PostPressAt(veil, {-1, -1}); });
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.x, -1);
    EXPECT_EQ(out.y, -1);
}

TEST_F(PointPicker, QuitRequestWhilePickingEndsWithNoPointAndStaysQueued) {
    const Outcome out = AnswerOkThen([](HWND veil) {
        PostThreadMessageA(GetWindowThreadProcessId(veil, nullptr), WM_QUIT, 7, 0);
    });
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.x, -1);
    EXPECT_EQ(out.y, -1);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

#if defined(__i386__)
// Calls fn(prompt, x, y) by hand and measures how far the stack pointer moved:
// a stdcall callee takes its 12 bytes of arguments with it.
struct RawCall {
    void* fn;
    const char* prompt;
    std::int32_t* x;
    std::int32_t* y;
    std::int32_t result;
    std::uint32_t bytesLeftOnStack;
};
static_assert(offsetof(RawCall, result) == 16 && offsetof(RawCall, bytesLeftOnStack) == 20,
              "the assembly below addresses the fields by these offsets");

void CallMeasuringStack(RawCall& call) {
    __asm__ __volatile__(
        "movl %%esp, %%edi\n\t"
        "pushl 12(%%esi)\n\t"
        "pushl 8(%%esi)\n\t"
        "pushl 4(%%esi)\n\t"
        "call *(%%esi)\n\t"
        "movl %%edi, %%ecx\n\t"
        "subl %%esp, %%ecx\n\t"
        "movl %%edi, %%esp\n\t"
        "movl %%eax, 16(%%esi)\n\t"
        "movl %%ecx, 20(%%esi)\n\t"
        :
        : "S"(&call)
        : "eax", "ecx", "edx", "edi", "memory", "cc");
}

TEST_F(PointPicker, GetPointRemovesItsTwelveBytesOfArguments) {
    std::int32_t x = 12345;
    std::int32_t y = 12345;
    RawCall call{reinterpret_cast<void*>(getPoint_), kPrompt.c_str(), &x, &y, 12345, 12345};
    const DWORD caller = GetCurrentThreadId();
    volatile LONG done = 0;
    std::thread helper([&] {
        if (HWND box = WaitForNoticeBox(caller)) PressBoxButton(box, IDCANCEL);
        CloseLeftoversUntil(caller, done);
    });
    CallMeasuringStack(call);
    InterlockedExchange(&done, 1);
    helper.join();
    EXPECT_EQ(call.bytesLeftOnStack, 0u);
    EXPECT_EQ(call.result, 0);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
}

#else
// Only 32-bit code pops its arguments in the callee; 64-bit test builds load a
// 64-bit copy of the DLL, and the 32-bit suite measures the shipped one.
TEST_F(PointPicker, GetPointRemovesItsTwelveBytesOfArguments) {
    GTEST_SKIP() << "stdcall exists only in 32-bit code: the 32-bit suite runs this";
}
#endif

TEST_F(PointPicker, ReadMeShowsAShortNoticeAndReturns) {
    const auto readMe = Export<ReadMeFn>(dll_, "ReadMe");
    ASSERT_NE(readMe, nullptr);
    const DWORD caller = GetCurrentThreadId();
    volatile LONG done = 0;
    BoxSeen box;
    bool boxFound = false;
    std::thread helper([&] {
        HWND found = WaitForNoticeBox(caller);
        boxFound = found != nullptr;
        if (found) {
            box = DescribeBox(found);
            PressBoxButton(found, IDOK);
        }
        CloseLeftoversUntil(caller, done);
    });
    readMe();
    InterlockedExchange(&done, 1);
    helper.join();
    ASSERT_TRUE(boxFound);
    EXPECT_NE(box.text.find("GetPoint"), std::string::npos) << box.text;
    EXPECT_EQ(box.visibleButtons, (std::set<int>{IDOK}));
    EXPECT_TRUE(box.informationIcon);
}

}  // namespace
}  // namespace kx::test
