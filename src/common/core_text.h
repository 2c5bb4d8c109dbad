#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace dravik {

// The interface languages. Japanese is the source language of every text and the default.
enum class Language { kJapanese, kEnglish };

// "en" is English; anything else, the empty text included, is Japanese.
Language ParseLanguage(std::string_view code);
// "ja" or "en".
const char* LanguageCode(Language language);
// The value of the command line's --lang: "ja" or "en" exactly, nothing for anything else.
std::optional<Language> LanguageOptionValue(std::string_view value);

// The user-visible texts of the core, which includes no Qt header. Every text is written in
// Japanese as CoreText::Tr("...") so that lupdate (told `-tr-function-alias tr+=Tr`) files it under
// the class's context of the translation files; Tr gives it in the interface language through
// the lookup the Qt layer installs, and unchanged while none is installed (tests, Japanese).
// `disambiguation` tells apart two uses of one Japanese text that another language words
// differently, as Qt's tr() does.
struct CoreText {
  static std::string Tr(const char* source, const char* disambiguation = nullptr);
};

// Gives the text for the Japanese `source` used as `disambiguation` (nullptr for the plain use),
// or "" when it has none (the source is then kept).
using TextLookup = std::string (*)(const char* source, const char* disambiguation);
// Installs `lookup` for every later CoreText::Tr; nullptr removes it. Called by the Qt layer
// before any window or worker thread reads a text.
void SetTextLookup(TextLookup lookup);

// `pattern` with "%1", "%2", ... replaced by the arguments in order ("%1" the first), as Qt's
// QString::arg does, so that a translation may put them where its language wants them.
std::string ArgText(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace dravik
