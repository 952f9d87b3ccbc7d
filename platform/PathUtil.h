#pragma once

#include <string>
#include <string_view>
#include <vector>

// Path string helpers with the semantics of the Foundation path methods the product relies on.
namespace platform::path {

std::string lastComponent(std::string_view path);
// The extension without its dot; "" when the last component has none.
std::string extension(std::string_view path);
std::string deletingLastComponent(std::string_view path);
std::string appending(std::string_view folder, std::string_view name);
// Components as Foundation gives them: "/" first for an absolute path, empty pieces dropped.
std::vector<std::string> components(std::string_view path);
std::string toLower(std::string_view text);
bool startsWith(std::string_view text, std::string_view prefix);
bool contains(std::string_view text, std::string_view part);
// "." and ".." resolved lexically, repeated "/" folded; links are not consulted.
std::string standardize(std::string_view path);
// Trailing "/" removed, except for "/" itself.
std::string trimTrailingSlashes(std::string_view path);
// True when `inner` lies strictly below `outer` (component-wise).
bool isInside(std::string_view inner, std::string_view outer);
// Why `path` is not in the one form every check and every actor of a path works on: absolute,
// valid UTF-8 without NUL, no empty, "." or ".." component, no trailing "/" (so "/" itself is not
// one either). "" when it is canonical.
std::string canonicalProblem(std::string_view path);

// "~" and "~/..." become the home folder; "~user/..." that user's home. Anything else is unchanged.
std::string expandTilde(std::string_view path);
// HOME when set and not empty, else the password database's entry of the real user.
std::string homeDirectory();
// $XDG_CONFIG_HOME when it is absolute, else ~/.config.
std::string configHome();
// The session's private folder of the user's for sockets and the like ($XDG_RUNTIME_DIR when it is
// absolute and not "/", without its trailing "/"); "" when the session names none. Whether the
// folder is fit for use is the caller's to check.
std::string runtimeDirectory();
// $TMPDIR with a trailing "/" when set, "/tmp/" otherwise.
std::string temporaryDirectory();

}  // namespace platform::path
