// The two languages kxgen speaks. Every text of kxgen's own is written in
// both, side by side, and each run speaks one of them throughout.
#pragma once

namespace kx::cli {

enum class Language { English, Chinese };
inline constexpr int kLanguages = 2;

inline int IndexOf(Language language) { return language == Language::Chinese ? 1 : 0; }

// The language of the first of LC_ALL, LC_MESSAGES and LANG that is set and
// not empty (nullptr for an unset one): Chinese for a locale starting "zh".
Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);

}  // namespace kx::cli
