#pragma once

#include <functional>
#include <string>

// User-visible texts are looked up with their English text as key. The core has no string tables of
// its own: a program that has them (the Qt screens) installs a translator; until then the key is
// the text.
namespace platform {

using Translator = std::function<std::string(const std::string& english)>;

void setTranslator(Translator translator);
std::string localized(const std::string& english);

}  // namespace platform
