// kxgen's own texts, in UTF-8, in English and in Simplified Chinese. The
// workflow's messages are not among them: they are shown as the workflow
// gives them, whatever the user's language.
#pragma once

#include <string>

#include "CliOptions.h"

namespace kx::cli {

enum class Language { English, Chinese };

// The language of the first of LC_ALL, LC_MESSAGES and LANG that is set and
// not empty (nullptr for an unset one): Chinese for a locale starting "zh".
Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);

struct CliTexts {
    const char* help;
    const char* synopsis;  // the usage lines that follow a command-line error
    const char* tryHelp;
    const char* errorPrefix;
    const char* unknownOption;  // "{}" stands for what the message is about
    const char* missingValue;
    const char* unexpectedValue;
    const char* emptyFolder;
    const char* nameTwice;
    const char* templateOptions;
    const char* nameUnencodable;
    const char* folderUnencodable;
    const char* regenerateQuestion;
    const char* keptHint;
    const char* rootFailedHint;
    const char* converterFailed;
    const char* updateOptions;
};

const CliTexts& TextsFor(Language language);

// The message for a command-line error, without prefix and line end.
std::string UsageErrorMessage(const CliTexts& texts, UsageError error, const std::string& subject);

// pattern with its "{}" replaced by subject.
std::string Fill(const char* pattern, const std::string& subject);

}  // namespace kx::cli
