#include "common/ui_language.h"

#include <atomic>
#include <initializer_list>
#include <optional>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "common/file_dialog.h"

namespace dravik {
namespace {

std::atomic<Language> interface_language{Language::kJapanese};

// Loaded once and never changed afterwards, so that worker threads may look texts up in it
// while the GUI thread switches the language.
QTranslator& EnglishTexts() {
  static QTranslator* const texts = [] {
    auto* translator = new QTranslator;
    if (!translator->load(QStringLiteral(":/i18n/dravik_en.qm"))) {
      qWarning("dravik: the English texts could not be loaded");
    }
    return translator;
  }();
  return *texts;
}

std::string LookUpCoreText(const char* source, const char* disambiguation) {
  if (interface_language.load(std::memory_order_acquire) != Language::kEnglish) {
    return {};
  }
  // lupdate files a call under "dravik::CoreText" when it has read the class's header before
  // the call, under "CoreText" otherwise.
  QString text = EnglishTexts().translate("dravik::CoreText", source, disambiguation);
  if (text.isEmpty()) {
    text = EnglishTexts().translate("CoreText", source, disambiguation);
  }
  return text.toStdString();
}

}  // namespace

void ApplyLanguage(Language language) {
  // Every switch makes each window write its texts (and the trip list its figures) again: one
  // that changes nothing, as at a start in the language already chosen, is skipped.
  static std::optional<Language> applied;
  if (applied == language) {
    return;
  }
  applied = language;
  static QTranslator qt_japanese;
  static FileKindTranslator file_kinds;  // the file kinds Qt's Japanese texts lack
  static const bool qt_japanese_loaded = qt_japanese.load(
      QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  // Qt writes the sizes and dates of its file dialog and the file kinds from the MIME database
  // in the default locale.
  const bool english = language == Language::kEnglish;
  QLocale::setDefault(english ? QLocale(QLocale::English, QLocale::UnitedStates)
                              : QLocale(QLocale::Japanese, QLocale::Japan));
  UseCoreTexts(language);
  // Removed first, since Qt would keep a translator installed twice.
  QTranslator* program_texts = &EnglishTexts();
  for (QTranslator* translator :
       std::initializer_list<QTranslator*>{program_texts, &qt_japanese, &file_kinds}) {
    QCoreApplication::removeTranslator(translator);
  }
  if (english) {
    QCoreApplication::installTranslator(program_texts);
  } else {
    if (qt_japanese_loaded) {
      QCoreApplication::installTranslator(&qt_japanese);
    }
    QCoreApplication::installTranslator(&file_kinds);
  }
}

Language InterfaceLanguage() {
  return interface_language.load(std::memory_order_acquire);
}

bool UseCoreTexts(Language language) {
  interface_language.store(language, std::memory_order_release);
  SetTextLookup(LookUpCoreText);
  return language != Language::kEnglish || !EnglishTexts().isEmpty();
}

}  // namespace dravik
