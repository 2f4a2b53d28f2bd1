#include "toolkit/fitted_text.h"

namespace KelUtility {
namespace {

constexpr wchar_t kEllipsis = L'\u2026';

bool IsBreak(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// A cut between the halves of a surrogate pair would leave half a character on each side.
bool InsidePair(std::wstring_view run, std::size_t at) {
    return at > 0 && at < run.size() && run[at] >= 0xDC00 && run[at] <= 0xDFFF &&
           run[at - 1] >= 0xD800 && run[at - 1] <= 0xDBFF;
}

// The run with `kept` of its characters around the ellipsis.
std::wstring Kept(std::wstring_view run, std::size_t kept) {
    std::size_t head = kept / 2;
    std::size_t tail = run.size() - (kept - head);
    if (InsidePair(run, head))
        --head;
    if (InsidePair(run, tail))
        ++tail;
    std::wstring shortened(run.substr(0, head));
    shortened += kEllipsis;
    shortened += run.substr(tail);
    return shortened;
}

// The most characters kept that still fit, found by halving: keeping fewer never widens it.
std::wstring Shortened(std::wstring_view run, const FitsWidth& fits) {
    std::size_t low = 0;
    std::size_t high = run.size() - 1;
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (fits(Kept(run, middle)))
            low = middle;
        else
            high = middle - 1;
    }
    return Kept(run, low);
}

} // namespace

std::wstring ShortenedToFit(const std::wstring& text, const FitsWidth& fits) {
    std::wstring fitted;
    fitted.reserve(text.size());
    std::size_t start = 0;
    while (start < text.size()) {
        if (IsBreak(text[start])) {
            fitted += text[start++];
            continue;
        }
        std::size_t end = start;
        while (end < text.size() && !IsBreak(text[end]))
            ++end;
        const std::wstring_view run(text.data() + start, end - start);
        if (fits(run))
            fitted += run;
        else
            fitted += Shortened(run, fits);
        start = end;
    }
    return fitted;
}

} // namespace KelUtility
