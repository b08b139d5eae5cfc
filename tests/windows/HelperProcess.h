// Windows tests: the helper program (helper_process.cpp, built beside the
// test program) run as a second process, its output read line by line.
#pragma once

#include <windows.h>

#include <string>

#include "PathSplit.h"

namespace kx::test {

class HelperProcess {
public:
    // Starts program (by default the helper beside this test program) with
    // the arguments, its input and output piped to us.
    explicit HelperProcess(const std::string& arguments, const std::string& program = DefaultProgram()) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE childOutput = nullptr;
        HANDLE childInput = nullptr;
        if (!CreatePipe(&output_, &childOutput, &inherit, 0)) return;
        if (!CreatePipe(&childInput, &input_, &inherit, 0)) {
            CloseHandle(childOutput);
            return;
        }
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = childInput;
        startup.hStdOutput = childOutput;
        startup.hStdError = childOutput;
        std::string commandLine = "\"" + program + "\" " + arguments;
        PROCESS_INFORMATION started{};
        if (CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                           &started)) {
            process_ = started.hProcess;
            CloseHandle(started.hThread);
        }
        CloseHandle(childOutput);
        CloseHandle(childInput);
    }

    // Ends the helper: its input closes, which ends a "hold"; one that does
    // not end at that is killed.
    ~HelperProcess() {
        if (input_ != nullptr) CloseHandle(input_);
        if (process_ != nullptr) {
            if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
            WaitForSingleObject(process_, INFINITE);
            CloseHandle(process_);
        }
        if (output_ != nullptr) CloseHandle(output_);
    }
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    bool Started() const { return process_ != nullptr; }

    // The next line it printed, without its line end; empty once it ended.
    std::string ReadLine() {
        std::string line;
        char byte = 0;
        DWORD read = 0;
        while (ReadFile(output_, &byte, 1, &read, nullptr) && read == 1 && byte != '\n') {
            if (byte != '\r') line += byte;
        }
        return line;
    }

    // kx_win32_helper.exe in this test program's folder.
    static std::string DefaultProgram() {
        char self[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
        return SplitAtLastSeparator(std::string(self, length < MAX_PATH ? length : 0)).folder + "kx_win32_helper.exe";
    }

private:
    HANDLE process_ = nullptr;
    HANDLE input_ = nullptr;
    HANDLE output_ = nullptr;
};

}  // namespace kx::test
