#pragma once

#include <string>

// Quoting for the two languages a path crosses on its way to a shell.
namespace shellquote {

// 'text' for /bin/sh, each ' written as '\''.
std::string single(const std::string& text);
// The body of an AppleScript string literal: backslash, then double quote, escaped.
std::string forAppleScript(const std::string& text);

}  // namespace shellquote
