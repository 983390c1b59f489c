#include "framework/streaming/FormLexer.h"

#include "framework/core/Chars.h"

namespace hx::formtext {

namespace {

bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

void TLexer::Validate() const
{
    TPos p;
    for (size_t i = 0; i < S.size();) {
        if (S[i] == '\0')
            Fail(p, "NUL byte in form description");
        const size_t n = Utf8SequenceLength(S, i);
        if (n == 0)
            Fail(p, "Invalid UTF-8 in form description");
        if (S[i] == '\n') {
            ++p.Line;
            p.Column = 1;
        } else {
            ++p.Column;
        }
        i += n;
    }
}

TToken TLexer::Peek()
{
    const size_t i = I;
    const int line = FLine, column = FColumn;
    TToken t = Next();
    I = i;
    FLine = line;
    FColumn = column;
    return t;
}

TToken TLexer::Next()
{
    SkipSpace();
    TToken t;
    t.At = Here();
    if (I >= S.size())
        return t;
    const char c = S[I];
    if (IsIdentStart(c))
        return Ident(t);
    if ((c >= '0' && c <= '9') || c == '$' || c == '-')
        return Number(t);
    if (c == '\'' || c == '#')
        return String(t);
    if (c == '{')
        return Binary(t);
    if (c == '=' || c == ':' || c == '[' || c == ']' || c == ',') {
        Advance();
        t.Kind = TTok::Symbol;
        t.Symbol = c;
        return t;
    }
    Fail(t.At, std::string("Unexpected character '") + S.substr(I, std::max<size_t>(1, Utf8SequenceLength(S, I))) + "'");
}

void TLexer::Advance()
{
    const unsigned char c = static_cast<unsigned char>(S[I++]);
    if (c == '\n') {
        ++FLine;
        FColumn = 1;
    } else if (!IsUtf8Continuation(c)) {
        ++FColumn;
    }
}

void TLexer::SkipSpace()
{
    while (I < S.size() && IsSpace(S[I]))
        Advance();
}

TToken TLexer::Ident(TToken& t)
{
    t.Kind = TTok::Ident;
    for (;;) {
        while (I < S.size() && IsIdentChar(S[I])) {
            t.Text += S[I];
            Advance();
        }
        if (I + 1 < S.size() && S[I] == '.' && IsIdentStart(S[I + 1])) {
            t.Text += '.';
            Advance();
            continue;
        }
        return t;
    }
}

TToken TLexer::Number(TToken& t)
{
    t.Kind = TTok::Integer;
    bool negative = false;
    if (S[I] == '-') {
        negative = true;
        Advance();
    }
    const bool hex = I < S.size() && S[I] == '$';
    if (hex)
        Advance();
    const int base = hex ? 16 : 10;
    std::uint64_t value = 0;
    int digits = 0;
    while (I < S.size()) {
        const int d = hex ? HexDigit(S[I]) : (S[I] >= '0' && S[I] <= '9' ? S[I] - '0' : -1);
        if (d < 0)
            break;
        value = value * base + static_cast<std::uint64_t>(d);
        if (value > 0xFFFFFFFFull)
            Fail(t.At, "Integer out of range");
        ++digits;
        Advance();
    }
    if (digits == 0)
        Fail(t.At, "Number expected");
    if (I < S.size() && IsIdentChar(S[I]))
        Fail(Here(), "Invalid number");
    // $hex spans the 32 bits (system colours have the top bit set); decimal is signed.
    std::int64_t v = static_cast<std::int64_t>(value);
    if (hex)
        v = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    else if (value > 0x7FFFFFFFull + (negative ? 1 : 0))
        Fail(t.At, "Integer out of range");
    t.Int = negative ? -v : v;
    return t;
}

TToken TLexer::String(TToken& t)
{
    t.Kind = TTok::String;
    for (;;) {
        StringPieces(t.Text);
        const size_t saveI = I;
        const int saveLine = FLine, saveColumn = FColumn;
        SkipSpace();
        if (I < S.size() && S[I] == '+') {
            Advance();
            SkipSpace();
            if (I >= S.size() || (S[I] != '\'' && S[I] != '#'))
                Fail(Here(), "String expected after '+'");
            continue;
        }
        I = saveI;
        FLine = saveLine;
        FColumn = saveColumn;
        return t;
    }
}

void TLexer::StringPieces(std::string& out)
{
    while (I < S.size() && (S[I] == '\'' || S[I] == '#')) {
        const TPos start = Here();
        if (S[I] == '#') {
            Advance();
            const bool hex = I < S.size() && S[I] == '$';
            if (hex)
                Advance();
            std::uint32_t cp = 0;
            int digits = 0;
            while (I < S.size()) {
                const int d = hex ? HexDigit(S[I]) : (S[I] >= '0' && S[I] <= '9' ? S[I] - '0' : -1);
                if (d < 0)
                    break;
                cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
                if (cp > 0x10FFFF)
                    Fail(start, "Invalid character code");
                ++digits;
                Advance();
            }
            if (digits == 0 || cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF))
                Fail(start, "Invalid character code");
            AppendUtf8(out, cp);
            continue;
        }
        Advance();
        for (;;) {
            if (I >= S.size() || S[I] == '\n' || S[I] == '\r')
                Fail(start, "Unterminated string");
            if (S[I] == '\'') {
                if (I + 1 < S.size() && S[I + 1] == '\'') {
                    out += '\'';
                    Advance();
                    Advance();
                    continue;
                }
                Advance();
                break;
            }
            out += S[I];
            Advance();
        }
    }
}

TToken TLexer::Binary(TToken& t)
{
    t.Kind = TTok::Binary;
    Advance();
    int high = -1;
    for (;;) {
        if (I >= S.size())
            Fail(t.At, "Unterminated binary data");
        const char c = S[I];
        if (c == '}') {
            if (high >= 0)
                Fail(Here(), "Odd number of hex digits in binary data");
            Advance();
            return t;
        }
        if (!IsSpace(c)) {
            const int d = HexDigit(c);
            if (d < 0)
                Fail(Here(), "Invalid character in binary data");
            if (high < 0) {
                high = d;
            } else {
                t.Text += static_cast<char>((high << 4) | d);
                high = -1;
            }
        }
        Advance();
    }
}

const char* TokenName(const TToken& t)
{
    switch (t.Kind) {
    case TTok::Ident: return "identifier";
    case TTok::Integer: return "number";
    case TTok::String: return "string";
    case TTok::Binary: return "binary data";
    case TTok::Symbol: return "symbol";
    case TTok::End: return "end of file";
    }
    return "token";
}

} // namespace hx::formtext
