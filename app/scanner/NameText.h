#pragma once

#include <string>

// The two text rules the name patterns are built with.
namespace nametext {

// The name without spaces, lower-cased by the root locale's rules (ASCII quickly, the rest by ICU).
std::string normalizeName(const std::string& name);
// The token with each of \ / | { } ( ) [ ] * . ? + ^ $ escaped by a backslash.
std::string escapeForPattern(const std::string& token);

}  // namespace nametext
