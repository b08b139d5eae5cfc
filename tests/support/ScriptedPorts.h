// Dialogs and a host for driving the generate workflow in tests: the dialogs
// answer from a script and record every prompt and question in order; the
// outcome's report (OutcomeTable.h) joins them as the box the Windows
// program would show.
#pragma once

#include <deque>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "OutcomeTable.h"
#include "Ports.h"

namespace kx {

// Endings by name in failure messages.
inline void PrintTo(OutcomeKind kind, std::ostream* out) {
    static const char* const kNames[] = {
        "Written",     "Kept",       "ConverterFailed", "RootFailed",   "NameEmpty",           "NameMalformed",
        "NameNotCreatable", "NameTooLong", "Busy",       "LockFailed",   "LinkFolder",          "OldFilesKept",
        "PlanFailed",  "ProjectFolderFailed", "OldFilesSplit", "SourceFolderFailed", "BuildFolderFailed",
        "WriteFailed",
    };
    const auto index = static_cast<std::size_t>(kind);
    *out << (index < sizeof kNames / sizeof kNames[0] ? kNames[index] : "?");
}

}  // namespace kx

namespace kx::test {

struct DialogEvent {
    std::string kind;  // "prompt", "question" or "report"
    AnsiString text;   // the prompt's preset, the question's project name, the report's text
    Notice notice = Notice::None;  // how a report is shown

    bool operator==(const DialogEvent& other) const {
        return kind == other.kind && text == other.text && notice == other.notice;
    }
};

// The name prompt, proposing preset.
inline DialogEvent Prompt(AnsiString preset) { return {"prompt", std::move(preset), Notice::None}; }
// The exists question about name.
inline DialogEvent Question(AnsiString name) { return {"question", std::move(name), Notice::None}; }
// A notice box ("提示"), an error box ("错误"), the error display.
inline DialogEvent Info(AnsiString text) { return {"report", std::move(text), Notice::Information}; }
inline DialogEvent Stop(AnsiString text) { return {"report", std::move(text), Notice::Error}; }
inline DialogEvent ErrorShown(AnsiString text) { return {"report", std::move(text), Notice::ErrorDisplay}; }

// The event a report of outcome adds; nothing for an ending shown by no box.
inline std::optional<DialogEvent> EventOfReport(const GenerationOutcome& outcome) {
    const OutcomeReport report = ReportFor(outcome);
    if (report.notice == Notice::None) return std::nullopt;
    return DialogEvent{"report", report.text, report.notice};
}

class ScriptedDialogs : public DialogPort {
public:
    // nullopt: the prompt is cancelled, which hands back the proposed name.
    std::deque<std::optional<AnsiString>> promptAnswers;
    std::deque<bool> questionAnswers;  // a question with nothing scripted answers no
    std::vector<DialogEvent> events;

    AnsiString AskProjectName(const AnsiString& proposed) override {
        events.push_back(Prompt(proposed));
        std::optional<AnsiString> answer;
        if (!promptAnswers.empty()) {
            answer = promptAnswers.front();
            promptAnswers.pop_front();
        }
        return answer ? *answer : proposed;
    }

    bool ConfirmRegeneration(const AnsiString& name) override {
        events.push_back(Question(name));
        if (questionAnswers.empty()) return false;
        const bool answer = questionAnswers.front();
        questionAnswers.pop_front();
        return answer;
    }
};

class FixedHost : public HostPort {
public:
    explicit FixedHost(AnsiString outputRoot, LocalDate today = {2026, 12, 7})
        : outputRoot_(std::move(outputRoot)), today_(today) {}

    std::vector<AnsiString> opened;

    AnsiString OutputRoot() override { return outputRoot_; }
    LocalDate Today() override { return today_; }
    void ShellOpen(const AnsiString& path) override { opened.push_back(path); }

private:
    AnsiString outputRoot_;
    LocalDate today_;
};

}  // namespace kx::test
