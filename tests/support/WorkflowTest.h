// The fixture of tests that press Generate: a temporary folder with the output
// root in it, a host that reports that root, and dialogs that answer from a
// script, one press at a time. On POSIX regenerations move the old files to
// a trash of the test's own ($XDG_DATA_HOME below the temporary folder).
#pragma once

#include <gtest/gtest.h>

#include <utility>

#include "GenerateProject.h"
#include "Texts.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"
#ifndef _WIN32
#include "NativePath.h"
#include "posix/ScopedEnvironment.h"
#endif

namespace kx::test {

// The plan of a press that writes the built-in project name into its folders,
// which stand already: for driving WriteProjectFiles by itself.
inline GenerationPlan PlanToWrite(const AnsiString& outputRoot, const AnsiString& name) {
    GenerationPlan plan;
    plan.outputRoot = outputRoot;
    plan.name = name;
    plan.paths = ProjectPathsFor(outputRoot, name);
    plan.templates = &BuiltInTemplates();
    plan.textFiles = ProjectTextFiles(BuiltInTemplates(), name, NewGuidText());
    return plan;
}

class WorkflowTest : public ::testing::Test {
public:  // tables stage their cases on the fixture
    WorkflowTest() : outputRoot(temp.Child(texts::kOutputRootName)), host(outputRoot) {
#ifndef _WIN32
        env.Set("XDG_DATA_HOME", NativePath(temp.Child("xdg")));
#endif
    }

    // One press: the prompt answers name, the exists question (if asked)
    // regenerate. dialogs.events ends with the report of the outcome.
    const GenerationOutcome& Generate(const AnsiString& name, bool regenerate = false) {
        dialogs = {};
        dialogs.promptAnswers = {name};
        dialogs.questionAnswers = {regenerate};
        outcome = GenerateProject(dialogs, host);
        if (const auto report = EventOfReport(outcome)) dialogs.events.push_back(*report);
        return outcome;
    }

    TempFolder temp;
    AnsiString outputRoot;
    FixedHost host;
    ScriptedDialogs dialogs;
    GenerationOutcome outcome;
#ifndef _WIN32
    ScopedEnvironment env;  // every variable a test sets is put back
#endif
};

}  // namespace kx::test
