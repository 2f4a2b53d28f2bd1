#pragma once

// A message's text made to fit the screen. A message box breaks its lines at blanks, so a
// sentence always fits; a run without blanks (a path, an address) does not break, and would
// widen the box past the screen. Such a run is shortened in the middle, where a path holds
// the folders a reader needs least, keeping its start (the drive) and its end (the file).

#include <functional>
#include <string>
#include <string_view>

namespace KelUtility {

// Whether a piece of text fits the width the box may take, as its font draws it.
using FitsWidth = std::function<bool(std::wstring_view piece)>;

// The text with every run between blanks and line breaks that does not fit replaced by its
// first and last characters around "…", as many as fit, the end given the larger share.
// Everything that fits is left as it is; a character is never split from its second half.
std::wstring ShortenedToFit(const std::wstring& text, const FitsWidth& fits);

} // namespace KelUtility
