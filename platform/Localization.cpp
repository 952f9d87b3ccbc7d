#include "platform/Localization.h"

#include <mutex>

namespace platform {
namespace {
std::mutex translatorMutex;
Translator& currentTranslator()
{
    static Translator translator;
    return translator;
}
}  // namespace

void setTranslator(Translator translator)
{
    std::lock_guard lock(translatorMutex);
    currentTranslator() = std::move(translator);
}

std::string localized(const char* context, const std::string& english)
{
    std::lock_guard lock(translatorMutex);
    const auto& translator = currentTranslator();
    return translator ? translator(context, english) : english;
}

}  // namespace platform
