#pragma once

// The pieces of text handling every model reader does the same way: the blanks between
// words, numbers as files write them, ASCII letters in either case, and the words for a
// file that cannot be read. None depends on the user's locale, as the files do not.

#include <string>
#include <string_view>

namespace MyApp {

// Space, tab, CR, LF, vertical tab or form feed: the C locale's blanks. Inline, as the
// readers ask it of nearly every byte.
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// A word that is one number in C notation, as std::from_chars reads it, also after a '+';
// false for an empty word, anything else in it, or a number past a double's range. An
// infinity or NaN written as such ("inf", "nan") is a number here.
bool ParseNumber(std::string_view word, double& value);

// The same, false as well for an infinity or NaN.
bool ParseFiniteNumber(std::string_view word, double& value);

// ASCII letters in lower case; every other byte (UTF-8 among them) as it is.
char AsciiLower(char c);
std::string AsciiLowered(std::string_view text);

// Whether the texts are the same once their ASCII letters are in lower case.
bool SameIgnoringCase(std::string_view a, std::string_view b);

// The message for a model file that cannot be read, naming it on its second line, as every
// failure with a file names it.
std::string UnreadableFileMessage(const std::string& path);

} // namespace MyApp
