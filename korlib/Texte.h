#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace vidor::korlib {

// Cuts the first element off `text`: the part before the earliest separator (on equal
// positions the separator given first wins; empty separators are ignored). `text` keeps what
// follows that separator, or becomes empty when none occurs. An element that begins and ends
// with a double quote loses the two quotes; a lone double quote is returned unchanged.
std::string ElementExtrait(std::string& text, std::initializer_list<std::string_view> separators);
// The same with one tab as the only separator.
std::string ElementExtrait(std::string& text);
// The same on a view of the text, which moves past the element and its separator: cutting a
// long text into its elements this way takes time in proportion to its length, not its square.
std::string ElementExtrait(std::string_view& text,
                           std::initializer_list<std::string_view> separators);
std::string ElementExtrait(std::string_view& text);

// `count` line breaks (CR LF): a missing or non-numeric count, or one of 0 or less, is 1; a
// count above 100 is 100; the count is rounded to the nearest whole number, a half to even.
std::string SautsLigne(std::optional<double> count = std::nullopt);

// `text` in upper case, as the program compares names: ASCII letters and the accented letters
// of Western European languages; any other byte, valid UTF-8 or not, is kept as it is.
std::string upperCase(std::string_view text);

// Removes the spaces at both ends.
std::string trimSpaces(std::string_view text);

}  // namespace vidor::korlib
