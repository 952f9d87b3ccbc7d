#pragma once

#include <cstddef>
#include <string_view>

// Whether a name carries a bundle identifier as a whole: the identifier starts the name or follows
// a "." (so "group." and team prefixes such as "ABCDE12345." pass), and it ends the name or is
// followed by ".", "-" or "_". So "com.vendor.foo.helper" and "ABCDE12345.com.vendor.foo" carry
// "com.vendor.foo", and "com.vendor.foobar" does not.
class WholeIdentifier {
public:
    static bool isCarriedBy(std::string_view name, std::string_view identifier);
    // How specific an identifier is: its length without a "group." or team id prefix, so that a
    // group "TEAMID.com.vendor" says no more than "com.vendor".
    static std::size_t specificity(std::string_view identifier);
};
