#pragma once

#include <string>
#include <vector>

// The words that start the window on the remains of gone applications ("--review-remains ID..."),
// written by the agent and read by the application. An identifier comes from a bundle's
// Info.plist, anyone's to write, and the toolkit reads options of its own from a command line
// (a plug-in path among them): only plain identifiers are passed, and read back.
class ReviewArguments {
public:
    // Letters, digits, ".", "-" and "_", beginning with a letter or digit.
    static bool isPlainIdentifier(const std::string& identifier);
    // "--review-remains" and the plain ones of `identifiers`; nothing when none is plain.
    static std::vector<std::string> make(const std::vector<std::string>& identifiers);
    // The plain identifiers after "--review-remains", up to the next option.
    static std::vector<std::string> read(const std::vector<std::string>& arguments);
};
