#pragma once

#include <functional>
#include <string>

// Marks a text for the translators' catalogue where it is defined; it is looked up later with
// localized(), in the same context.
#define OSTROVA_TRANSLATE_NOOP(context, text) text

// User-visible texts are looked up by context and English text. The core has no string tables of
// its own: a program that has them (the Qt screens) installs a translator; until then the text is
// its own translation.
namespace platform {

using Translator = std::function<std::string(const char* context, const std::string& english)>;

void setTranslator(Translator translator);
std::string localized(const char* context, const std::string& english);

}  // namespace platform
