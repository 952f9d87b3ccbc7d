#include "app/scanner/NamePattern.h"

#include "platform/Statistics.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

struct NamePattern::Compiled {
    std::unique_ptr<icu::RegexMatcher> matcher;
    icu::UnicodeString input;  // the matcher reads it by reference: it must outlive each match
};

NamePattern::NamePattern(std::string pattern) : pattern_(std::move(pattern)) {}
NamePattern::~NamePattern() = default;
NamePattern::NamePattern(NamePattern&&) noexcept = default;
NamePattern& NamePattern::operator=(NamePattern&&) noexcept = default;

bool NamePattern::matches(const std::string& text)
{
    if (failed_)
        return false;
    platform::statistics::patternMatches.fetch_add(1, std::memory_order_relaxed);
    UErrorCode status = U_ZERO_ERROR;
    if (!compiled_) {
        auto matcher = std::make_unique<icu::RegexMatcher>(icu::UnicodeString::fromUTF8(pattern_), 0, status);
        if (U_FAILURE(status)) {
            failed_ = true;
            return false;
        }
        compiled_ = std::make_unique<Compiled>();
        compiled_->matcher = std::move(matcher);
    }
    // Bytes that are not UTF-8 become U+FFFD, as a file name the platform cannot decode would.
    compiled_->input = icu::UnicodeString::fromUTF8(text);
    compiled_->matcher->reset(compiled_->input);
    status = U_ZERO_ERROR;
    const bool found = compiled_->matcher->matches(status);
    return U_SUCCESS(status) && found;
}

std::string NamePattern::namePattern(const std::string& infoName, const std::string& executable,
                                     const std::string& display, const std::string& suffix)
{
    return "\\b((" + infoName + ")|(" + executable + ")|(" + display + "))" + suffix + "(\\..*){0,}";
}

std::string NamePattern::identifierPattern(const std::string& identifier, const std::string& suffix)
{
    return "\\b((" + identifier + ")|())" + suffix + "(\\..*){0,}";
}
