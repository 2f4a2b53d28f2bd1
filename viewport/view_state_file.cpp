#include "viewport/view_state_file.h"

#include "viewport/x_text.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace KelUtility {

const char* const kViewStateTemplates =
    "xof 0302txt 0032 template MY_GAME_INFO{\t\t\t\t\t\t"
    "<AA1308FD-FF98-4f6e-9A55-CD083178672F>\t\t\t\t\t\t"
    "STRING GameName;\t\t\t\t\t\tSTRING GameMaker;\t\t\t\t\t\tDWORD Version;\t\t\t\t\t\t"
    "float x;\t\t\t\t\t\tfloat y;\t\t\t\t\t\tfloat z;\t\t\t\t\t\t"
    "float px;\t\t\t\t\t\tfloat py;\t\t\t\t\t\tfloat pz;\t\t\t\t\t\t}";

namespace {

const char* const kTemplateName = "MY_GAME_INFO";
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kStrings = 2; // GameName, GameMaker
constexpr std::size_t kValues = 9;  // and Version, then the six floats

std::string Quoted(const char* text) {
    return std::string(" \"") + text + "\";";
}

// The tokens of .x text, one at a time: names and numbers, quoted strings, and the
// punctuation marks; blanks and comments are passed over.
class Tokens {
public:
    enum class Kind { End, Word, String, Mark };
    struct Token {
        Kind kind = Kind::End;
        std::string_view text;
    };

    explicit Tokens(std::string_view text) : m_text(text) {}

    Token Next() {
        SkipBlanksAndComments();
        if (m_at >= m_text.size())
            return {};
        const char c = m_text[m_at];
        if (c == '"')
            return Quoted();
        if (IsMark(c))
            return {Kind::Mark, m_text.substr(m_at++, 1)};
        const std::size_t start = m_at;
        while (m_at < m_text.size() && !IsMark(m_text[m_at]) && m_text[m_at] != '"' &&
               !IsBlank(m_text[m_at]))
            ++m_at;
        return {Kind::Word, m_text.substr(start, m_at - start)};
    }

private:
    static bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) || c == 0; }
    static bool IsMark(char c) {
        return c == '{' || c == '}' || c == ';' || c == ',' || c == '<' || c == '>' || c == '[' ||
               c == ']' || c == '(' || c == ')';
    }

    void SkipBlanksAndComments() {
        while (m_at < m_text.size()) {
            if (IsBlank(m_text[m_at])) {
                ++m_at;
            } else if (m_text[m_at] == '#' || m_text.substr(m_at, 2) == "//") {
                const std::size_t end = m_text.find('\n', m_at);
                m_at = end == std::string_view::npos ? m_text.size() : end;
            } else {
                return;
            }
        }
    }

    // A string without its closing quote ends the text.
    Token Quoted() {
        const std::size_t close = m_text.find('"', m_at + 1);
        if (close == std::string_view::npos) {
            m_at = m_text.size();
            return {};
        }
        const Token string{Kind::String, m_text.substr(m_at + 1, close - m_at - 1)};
        m_at = close + 1;
        return string;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

bool IsMark(const Tokens::Token& token, char mark) {
    return token.kind == Tokens::Kind::Mark && token.text[0] == mark;
}

bool ReadFloat(std::string_view word, float& value) {
    const char* first = word.data();
    const char* last = word.data() + word.size();
    if (first != last && *first == '+')
        ++first;
    const std::from_chars_result read = std::from_chars(first, last, value);
    return read.ec == std::errc() && read.ptr == last && std::isfinite(value);
}

// The values of one object's own level, up to its closing brace; nested objects are passed
// over. False when the text ends first.
bool ReadBody(Tokens& tokens, std::vector<Tokens::Token>& values) {
    int depth = 1;
    for (;;) {
        const Tokens::Token token = tokens.Next();
        if (token.kind == Tokens::Kind::End)
            return false;
        if (IsMark(token, '{'))
            ++depth;
        else if (IsMark(token, '}') && --depth == 0)
            return true;
        else if (depth == 1 && token.kind != Tokens::Kind::Mark)
            values.push_back(token);
    }
}

// GameName and GameMaker, Version, then the six floats.
std::optional<ViewState> StateOf(const std::vector<Tokens::Token>& values) {
    if (values.size() < kValues)
        return std::nullopt;
    for (std::size_t i = 0; i < kValues; ++i) {
        const Tokens::Kind expected = i < kStrings ? Tokens::Kind::String : Tokens::Kind::Word;
        if (values[i].kind != expected)
            return std::nullopt;
    }
    float read[kValues - kStrings - 1];
    for (std::size_t i = 0; i < std::size(read); ++i) {
        if (!ReadFloat(values[kStrings + 1 + i].text, read[i]))
            return std::nullopt;
    }
    return ViewState{read[0], read[1], read[2], read[3], read[4], read[5]};
}

bool HeaderIsText(std::string_view text) {
    if (text.size() < kHeaderSize)
        return false;
    const std::string_view version = text.substr(4, 4);
    const std::string_view floats = text.substr(12, 4);
    return text.substr(0, 4) == "xof " && (version == "0302" || version == "0303") &&
           text.substr(8, 4) == "txt " && (floats == "0032" || floats == "0064");
}

} // namespace

std::vector<std::string> ViewStateLines(const ViewState& state) {
    std::vector<std::string> lines = {
        "xof 0302txt 0032", "",   std::string(kTemplateName) + " Dati {", Quoted("D3DPanel"),
        Quoted("Kel"),      " 1;"};
    for (float value : {state.x, state.y, state.z, state.px, state.py, state.pz}) {
        std::string line = " ";
        AppendXFloat(line, value);
        lines.push_back(line + ";");
    }
    lines.push_back("}");
    return lines;
}

// Each top-level object is a type name, perhaps its own name, and a body in braces;
// template declarations are objects of the type "template".
ViewStateReading ReadViewState(std::string_view text) {
    ViewStateReading reading;
    if (!HeaderIsText(text))
        return reading;
    reading.readable = true;
    Tokens tokens(text.substr(kHeaderSize));
    for (;;) {
        const Tokens::Token type = tokens.Next();
        if (type.kind != Tokens::Kind::Word)
            return reading;
        Tokens::Token next = tokens.Next();
        if (next.kind == Tokens::Kind::Word)
            next = tokens.Next();
        std::vector<Tokens::Token> values;
        if (!IsMark(next, '{') || !ReadBody(tokens, values))
            return reading;
        if (type.text == kTemplateName) {
            if (std::optional<ViewState> state = StateOf(values))
                reading.state = state;
        }
    }
}

} // namespace KelUtility
