#pragma once

#include <optional>
#include <string>
#include <vector>

// Decides the scan's name patterns without the regular-expression engine for the ordinary case: a
// key whose first character is ASCII, and no suffix, the crash-report suffix or the holder folders'
// account suffix. For those the pattern "\b((t1)|(t2)|...)S(\..*){0,}" reduces to plain comparisons:
// the key begins with a word character and with an alternative, and the rest is empty or a dotted
// tail (or, for the crash suffix, "_" or "-" and five characters of [0-9a-fA-F-]; for the account
// suffix, "-" and anything) without line breaks.
// nullopt means "ask the engine".
class QuickNameMatch {
public:
    static std::optional<bool> matches(const std::string& key, const std::vector<const std::string*>& alternatives,
                                       const std::string& suffix, const std::string& crashSuffix);
};
