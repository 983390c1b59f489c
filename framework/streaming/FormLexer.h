#pragma once
// The form-description lexer (FormReader's): splits a description into tokens, tracking
// line and column (in characters). Identifiers may be dotted (Font.Height); strings are
// 'text' pieces and #code characters; binary data is hex digits in braces. Errors are
// EReadErrors at the offending position.
#include <cstdint>
#include <string>

#include "framework/streaming/FormReader.h"

namespace hx::formtext {

struct TPos {
    int Line = 1;
    int Column = 1;
};

enum class TTok { Ident, Integer, String, Binary, Symbol, End };

struct TToken {
    TTok Kind = TTok::End;
    std::string Text; // identifier (dotted), string value, binary bytes
    std::int64_t Int = 0;
    char Symbol = 0;
    TPos At;
};

// Splits a description into tokens, tracking line and column (in characters).
class TLexer {
public:
    TLexer(const std::string& text, const std::string& fileName) : S(text), FFile(fileName) {}

    [[noreturn]] void Fail(TPos at, const std::string& message) const { throw EReadError(FFile, at.Line, at.Column, message); }

    // NUL bytes and invalid UTF-8 are refused before anything is built.
    void Validate() const;

    // The next token without taking it.
    TToken Peek();
    TToken Next();

    TPos Here() const { return TPos{FLine, FColumn}; }

private:
    void Advance();
    void SkipSpace();

    TToken Ident(TToken& t);
    TToken Number(TToken& t);

    // 'text' pieces ('' is one quote) and #code characters, joined directly or with '+'.
    TToken String(TToken& t);
    void StringPieces(std::string& out);

    TToken Binary(TToken& t);

    const std::string& S;
    const std::string& FFile;
    size_t I = 0;
    int FLine = 1;
    int FColumn = 1;
};

// What a token is, for error messages.
const char* TokenName(const TToken& t);

} // namespace hx::formtext
