#pragma once

#include <memory>
#include <string>

// One of the scan's name patterns as an ICU regular expression that must match a whole normalised
// entry name (the dialect of a "SELF MATCHES" predicate, case-sensitive). Compiled on first use; a
// pattern that does not compile matches nothing. One thread at a time.
class NamePattern {
public:
    explicit NamePattern(std::string pattern);
    ~NamePattern();
    NamePattern(NamePattern&&) noexcept;
    NamePattern& operator=(NamePattern&&) noexcept;

    bool matches(const std::string& text);
    const std::string& pattern() const { return pattern_; }

    // "\b((%@)|(%@)|(%@))%@(\..*){0,}" with the three escaped name tokens and the suffix. The
    // patterns match whole names, so a closing "\b" would only ask that the name end with a word
    // character, and "Notes+" would never be found by its own name: there is none.
    static std::string namePattern(const std::string& infoName, const std::string& executable,
                                   const std::string& display, const std::string& suffix);
    // "\b((%@)|(%@))%@(\..*){0,}" with the escaped identifier token, "" and the suffix.
    static std::string identifierPattern(const std::string& identifier, const std::string& suffix);

private:
    struct Compiled;
    std::string pattern_;
    std::unique_ptr<Compiled> compiled_;
    bool failed_ = false;
};
