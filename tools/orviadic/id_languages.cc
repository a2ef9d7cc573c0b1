#include "id_languages.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace orviadic {
namespace {

struct NamedLanguage {
  const char* name;
  uint8_t code;
};

constexpr NamedLanguage kNamed[] = {{"en", 1}, {"zh-cn", 2}, {"zh-tw", 3}, {"ja", 4},   {"ko", 5},
                                    {"de", 6}, {"fr", 7},    {"es", 8},    {"other", 9}};

// Further languages whose words Windows-1252 spells, all of code 9.
constexpr const char* kOtherWindows1252[] = {"af", "ca", "da", "eu", "fi", "fo", "ga", "gd",
                                             "gl", "id", "is", "it", "la", "lb", "ms", "nb",
                                             "nl", "nn", "no", "pt", "sq", "sv", "sw", "wa"};

}  // namespace

std::optional<uint8_t> languageCodeNamed(const std::string& typed) {
  std::string name = typed;
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  for (const NamedLanguage& language : kNamed)
    if (name == language.name) return language.code;
  if (std::any_of(std::begin(kOtherWindows1252), std::end(kOtherWindows1252),
                  [&name](const char* other) { return name == other; }))
    return 9;
  return std::nullopt;
}

std::string languageName(uint8_t code) {
  for (const NamedLanguage& language : kNamed)
    if (code == language.code) return language.name;
  return std::to_string(code);
}

}  // namespace orviadic
