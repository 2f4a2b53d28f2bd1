// Long runs without blanks are shortened in the middle to fit the box; text that a box breaks
// at its blanks by itself is left alone.

#include "toolkit/fitted_text.h"

#include <gtest/gtest.h>

using namespace KelUtility;

TEST(FittedText, RunsTooWideAreShortenedInTheMiddleAndTheRestIsKept) {
    // Twenty characters to a line.
    const FitsWidth fits = [](std::wstring_view piece) { return piece.size() <= 20; };
    const struct {
        const wchar_t* text;
        const wchar_t* fitted;
    } cases[] = {
        {L"Impossibile leggere il file.", L"Impossibile leggere il file."},
        {L"Impossibile leggere il file.\nC:\\Modelli\\molto\\lontano\\in\\fondo\\scatola.kv3",
         L"Impossibile leggere il file.\nC:\\Modell\u2026catola.kv3"},
        {L"La texture C:\\una\\cartella\\assai\\profonda\\legno.png manca.",
         L"La texture C:\\una\\ca\u2026\\legno.png manca."},
        {L"Tre  spazi\r\n e\tuna riga", L"Tre  spazi\r\n e\tuna riga"},
        {L"\\\\server\\condivisa\\modelli\\a.obj", L"\\\\server\\\u2026elli\\a.obj"},
        // Twenty-one units, the ninth and tenth the two halves of one character.
        {L"abcdefgh\xD83D\xDE00ijklmnopqrs", L"abcdefgh\u2026jklmnopqrs"},
    };
    for (const auto& c : cases) {
        const std::wstring fitted = ShortenedToFit(c.text, fits);
        EXPECT_EQ(fitted, c.fitted) << c.text;
    }
    // Whatever the measure, every run that comes out fits.
    const FitsWidth narrow = [](std::wstring_view piece) { return piece.size() <= 1; };
    EXPECT_EQ(ShortenedToFit(L"ab c", narrow), L"\u2026 c");
}
