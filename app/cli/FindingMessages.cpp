#include "FindingMessages.h"

#include <cstdio>

#include "CliTexts.h"
#include "TextContent.h"

namespace kx::cli {

namespace {

// "U+1F600 😀"; an invisible character by its number alone.
std::string CharacterName(char32_t cp) {
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(cp));
    const bool invisible = cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || (cp >= 0x200B && cp <= 0x200F) ||
                           cp == 0xFEFF;
    if (invisible) return number;
    std::string character;
    AppendUtf8CodePoint(character, cp);
    return std::string(number) + " " + character;
}

std::string Names(const Finding& finding, Language language) {
    std::string names;
    for (const char32_t cp : finding.characters) {
        if (!names.empty()) names += Pattern(language, Text::ListSeparator);
        names += CharacterName(cp);
    }
    return names;
}

Text DllText(DllDefect defect) {
    switch (defect) {
        case DllDefect::NotPe: break;
        case DllDefect::NotX86: return Text::DllNotX86;
        case DllDefect::NotDll: return Text::DllNotDll;
        case DllDefect::MissingOrdinal: return Text::DllMissingOrdinal;
    }
    return Text::DllNotPe;
}

Text KindText(FindingKind kind) {
    switch (kind) {
        case FindingKind::Empty: break;
        case FindingKind::NotUtf8: return Text::FindingNotUtf8;
        case FindingKind::NulByte: return Text::FindingNul;
        case FindingKind::NotInCodePage: return Text::FindingNotInCodePage;
        case FindingKind::LineNotInCodePage: return Text::FindingLineNotInCodePage;
        case FindingKind::StrayDollar: return Text::FindingStrayDollar;
        case FindingKind::PlaceholderKept: return Text::FindingPlaceholderKept;
        case FindingKind::LineEnds: return Text::FindingLineEnds;
        case FindingKind::MoreLines: return Text::FindingMoreLines;
        case FindingKind::Unreadable: return Text::FindingUnreadable;
        case FindingKind::NotPointPicker: return Text::FindingNotPointPicker;
        case FindingKind::NoTemplateFiles: return Text::FindingNoTemplateFiles;
    }
    return Text::FindingEmpty;
}

}  // namespace

std::string FindingMessage(const Finding& finding, Language language) {
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned>(finding.number & 0xFF));
    const std::string number = std::to_string(finding.number);
    return Say(language, KindText(finding.kind),
               {{"byte", byte},
                {"column", number},
                {"count", number},
                {"characters", Names(finding, language)},
                {"why", Say(language, DllText(finding.dll), {{"ordinal", number}})}});
}

}  // namespace kx::cli
