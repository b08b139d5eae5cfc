// The fixture of tests that press Generate: a temporary folder with the output
// root in it, a host that reports that root, and dialogs that answer from a
// script, one press at a time.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <utility>

#include "GenerateProject.h"
#include "Texts.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace kx::test {

class WorkflowTest : public ::testing::Test {
public:  // tables stage their cases on the fixture
    WorkflowTest() : outputRoot(temp.Child(texts::kOutputRootName)), host(outputRoot) {}

    // One press: the prompt answers name, the boxes boxAnswers in order.
    void Generate(const AnsiString& name, std::deque<int> boxAnswers = {}) {
        dialogs = {};
        dialogs.promptAnswers = {name};
        dialogs.boxAnswers = std::move(boxAnswers);
        GenerateProject(dialogs, host);
    }

    TempFolder temp;
    AnsiString outputRoot;
    FixedHost host;
    ScriptedDialogs dialogs;
};

}  // namespace kx::test
