#pragma once

#include "common/core_text.h"

namespace dravik {

// Makes `language` the interface language of the running program: the program's English texts
// (Japanese, the source language, needs none), Qt's own texts in that language (standard buttons,
// the file dialog) and the default locale. The core's texts follow at once. Installing and
// removing translators sends every widget a LanguageChange event, on which each window writes
// its texts again. Call from the GUI thread; the first call loads the translations.
void ApplyLanguage(Language language);

// The language ApplyLanguage last made the interface language; Japanese before any call.
Language InterfaceLanguage();

// The core's texts in `language` for a program without windows or application object
// (dravik-report); false when the English texts could not be loaded.
bool UseCoreTexts(Language language);

}  // namespace dravik
