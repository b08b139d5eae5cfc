// Dialogs and a host for driving the generate workflow in tests: the dialogs
// answer from a script and record every prompt and box in order.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "Ports.h"

namespace kx::test {

struct DialogEvent {
    std::string kind;  // "prompt" or "box"
    AnsiString text;   // the prompt's label, the box's text
    AnsiString caption;
    AnsiString preset;  // the prompt's default text
    unsigned flags = 0;

    bool operator==(const DialogEvent& other) const {
        return kind == other.kind && text == other.text && caption == other.caption &&
               preset == other.preset && flags == other.flags;
    }
};

inline DialogEvent Prompt(AnsiString caption, AnsiString label, AnsiString preset) {
    return {"prompt", std::move(label), std::move(caption), std::move(preset), 0};
}
inline DialogEvent Box(AnsiString text, AnsiString caption, unsigned flags) {
    return {"box", std::move(text), std::move(caption), "", flags};
}

class ScriptedDialogs : public DialogPort {
public:
    // nullopt: the prompt is cancelled, which hands back the preset text.
    std::deque<std::optional<AnsiString>> promptAnswers;
    std::deque<int> boxAnswers;  // a box with nothing scripted answers 2 (Cancel)
    std::vector<DialogEvent> events;

    AnsiString PromptForText(const AnsiString& caption, const AnsiString& prompt,
                             const AnsiString& defaultText) override {
        events.push_back(Prompt(caption, prompt, defaultText));
        std::optional<AnsiString> answer;
        if (!promptAnswers.empty()) {
            answer = promptAnswers.front();
            promptAnswers.pop_front();
        }
        return answer ? *answer : defaultText;
    }

    int ShowMessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) override {
        events.push_back(Box(text, caption, flags));
        if (boxAnswers.empty()) return 2;
        const int answer = boxAnswers.front();
        boxAnswers.pop_front();
        return answer;
    }
};

class FixedHost : public HostPort {
public:
    explicit FixedHost(AnsiString outputRoot, LocalDate today = {2026, 12, 7})
        : outputRoot_(std::move(outputRoot)), today_(today) {}

    std::vector<AnsiString> opened;
    std::vector<AnsiString> oldFilesMovedTo;  // every report of where old files went

    AnsiString OutputRoot() override { return outputRoot_; }
    LocalDate Today() override { return today_; }
    void ShellOpen(const AnsiString& path) override { opened.push_back(path); }
    void OldFilesMovedTo(const AnsiString& trashFolder) override { oldFilesMovedTo.push_back(trashFolder); }

private:
    AnsiString outputRoot_;
    LocalDate today_;
};

}  // namespace kx::test
