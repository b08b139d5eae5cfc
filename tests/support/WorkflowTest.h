// The fixture of tests that press Generate: a temporary folder with the output
// root in it, a host that reports that root, and dialogs that answer from a
// script, one press at a time. On POSIX regenerations move the old files to
// a trash of the test's own ($XDG_DATA_HOME below the temporary folder).
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <utility>

#include "GenerateProject.h"
#include "Texts.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"
#ifndef _WIN32
#include "posix/ScopedEnvironment.h"
#endif

namespace kx::test {

class WorkflowTest : public ::testing::Test {
public:  // tables stage their cases on the fixture
    WorkflowTest() : outputRoot(temp.Child(texts::kOutputRootName)), host(outputRoot) {
#ifndef _WIN32
        env.Set("XDG_DATA_HOME", temp.Child("xdg"));
#endif
    }

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
#ifndef _WIN32
    ScopedEnvironment env;  // every variable a test sets is put back
#endif
};

}  // namespace kx::test
