#include "common/core_text.h"

#include <atomic>

namespace dravik {
namespace {

std::atomic<TextLookup> text_lookup{nullptr};

}  // namespace

Language ParseLanguage(std::string_view code) {
  return code == "en" ? Language::kEnglish : Language::kJapanese;
}

std::optional<Language> LanguageOptionValue(std::string_view value) {
  if (value != "ja" && value != "en") {
    return std::nullopt;
  }
  return ParseLanguage(value);
}

const char* LanguageCode(Language language) {
  return language == Language::kEnglish ? "en" : "ja";
}

std::string CoreText::Tr(const char* source, const char* disambiguation) {
  const TextLookup lookup = text_lookup.load(std::memory_order_acquire);
  if (lookup != nullptr) {
    std::string text = lookup(source, disambiguation);
    if (!text.empty()) {
      return text;
    }
  }
  return source;
}

void SetTextLookup(TextLookup lookup) {
  text_lookup.store(lookup, std::memory_order_release);
}

std::string ArgText(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string text;
  text.reserve(pattern.size());
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
        pattern[i + 1] <= '9') {
      const size_t index = static_cast<size_t>(pattern[i + 1] - '1');
      if (index < args.size()) {
        text.append(args.begin()[index]);
        ++i;
        continue;
      }
    }
    text.push_back(pattern[i]);
  }
  return text;
}

}  // namespace dravik
