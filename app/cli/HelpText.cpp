#include "HelpText.h"

#include <algorithm>

#include "CliTexts.h"
#include "TextWidth.h"

namespace kx::cli {

namespace {

// Two spaces before the labels and at least two between the columns.
constexpr std::size_t kIndent = 2;
constexpr std::size_t kGap = 2;

}  // namespace

std::string OptionLabel(const Option& option, Language language) {
    std::string placeholder;
    if (option.value == OptionValue::Name || option.value == OptionValue::Project) {
        placeholder = Pattern(language, Text::NamePlaceholder);
    }
    if (option.value == OptionValue::Folder) placeholder = Pattern(language, Text::FolderPlaceholder);
    std::string label;
    if (option.value == OptionValue::Name) label += placeholder + ", ";
    if (option.shortName != 0) label += std::string("-") + option.shortName + ", ";
    label += option.longName;
    if (!placeholder.empty()) label += " " + placeholder;
    return label;
}

std::string HelpText(Language language) {
    std::size_t labelColumns = 0;
    for (const Option& option : Options()) {
        labelColumns = std::max(labelColumns, DisplayWidth(OptionLabel(option, language)));
    }
    const std::string descriptionIndent(kIndent + labelColumns + kGap, ' ');

    std::string out = Pattern(language, Text::Synopsis);
    out += "\n";
    out += Pattern(language, Text::HelpIntro);
    out += "\n";
    out += Pattern(language, Text::HelpOptionsHeading);
    for (const Option& option : Options()) {
        const std::string label = OptionLabel(option, language);
        out += std::string(kIndent, ' ') + label + std::string(labelColumns - DisplayWidth(label) + kGap, ' ');
        // Continuation lines start under the first one's description.
        for (const char* c = option.help[IndexOf(language)]; *c != '\0'; ++c) {
            out += *c;
            if (*c == '\n') out += descriptionIndent;
        }
        out += "\n";
    }
    out += "\n";
    out += Pattern(language, Text::HelpNotes);
    out += "\n";
    out += Pattern(language, Text::HelpClosing);
    return out;
}

}  // namespace kx::cli
