// Windows tests: answers the dialogs the shell opens while a test runs (the
// question before an item is deleted for good), so that a test can check
// what happens on either answer instead of hanging. Every dialog of this
// process seen while the answerer lives is answered with the given button
// and its texts are kept.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kx::test {

class ShellPromptAnswerer {
public:
    explicit ShellPromptAnswerer(int button) : button_(button), worker_([this] { Run(); }) {}
    ~ShellPromptAnswerer() {
        stop_ = true;
        worker_.join();
    }
    ShellPromptAnswerer(const ShellPromptAnswerer&) = delete;
    ShellPromptAnswerer& operator=(const ShellPromptAnswerer&) = delete;

    // The texts of the dialogs answered so far, one string per dialog.
    std::vector<std::string> Seen() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }

private:
    static BOOL CALLBACK CollectText(HWND child, LPARAM into) {
        char text[1024] = {};
        GetWindowTextA(child, text, sizeof text);
        *reinterpret_cast<std::string*>(into) += std::string(text) + "\n";
        return TRUE;
    }

    static BOOL CALLBACK Answer(HWND window, LPARAM self) {
        auto* answerer = reinterpret_cast<ShellPromptAnswerer*>(self);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        if (process != GetCurrentProcessId() || !IsWindowVisible(window) || std::string(className) != "#32770") {
            return TRUE;
        }
        std::string text;
        EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&text));
        {
            std::lock_guard<std::mutex> lock(answerer->mutex_);
            answerer->seen_.push_back(text);
        }
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(answerer->button_, BN_CLICKED), 0);
        return TRUE;
    }

    void Run() {
        while (!stop_) {
            EnumWindows(Answer, reinterpret_cast<LPARAM>(this));
            Sleep(100);
        }
    }

    int button_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::string> seen_;
    std::thread worker_;
};

}  // namespace kx::test
