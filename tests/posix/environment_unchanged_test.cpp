// Every test leaves the process environment as it found it. The sanitizer
// build runs all cases of a program in one process, where a variable one
// test sets and keeps (say $XDG_DATA_HOME, pointing into a folder that is
// gone) would steer the next test. A listener compares the environment
// before and after each test; at the end the program fails, naming each test
// that changed it and the first variable that differs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

extern char** environ;

namespace kx {
namespace {

std::vector<std::string> EnvironmentNow() {
    std::vector<std::string> variables;
    for (char** variable = environ; variable != nullptr && *variable != nullptr; ++variable) {
        variables.emplace_back(*variable);
    }
    std::sort(variables.begin(), variables.end());
    return variables;
}

std::string FirstChange(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::vector<std::string> changed;
    std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(changed));
    if (changed.empty()) return std::string();
    return changed.front().substr(0, changed.front().find('='));
}

std::vector<std::string>& Offenders() {
    static std::vector<std::string> offenders;
    return offenders;
}

class EnvironmentWatch : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { before_ = EnvironmentNow(); }
    void OnTestEnd(const testing::TestInfo& test) override {
        const std::string changed = FirstChange(before_, EnvironmentNow());
        if (!changed.empty()) {
            Offenders().push_back(std::string(test.test_suite_name()) + "." + test.name() + " (" + changed + ")");
        }
    }
    std::vector<std::string> before_;
};

// Failures belong in an environment's tear-down, not in a listener.
class EnvironmentVerdict : public testing::Environment {
    void SetUp() override { testing::UnitTest::GetInstance()->listeners().Append(new EnvironmentWatch); }
    void TearDown() override {
        for (const std::string& offender : Offenders()) {
            ADD_FAILURE() << "the test changed the environment and did not put it back: " << offender;
        }
    }
};

[[maybe_unused]] testing::Environment* const kVerdict = testing::AddGlobalTestEnvironment(new EnvironmentVerdict);

}  // namespace
}  // namespace kx
