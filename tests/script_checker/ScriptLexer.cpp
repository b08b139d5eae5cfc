// Tokens of KX script. Works on UTF-8 bytes; only the character classes of
// names need whole code points.
#include <cstdint>
#include <unordered_map>

#include "KxName.h"
#include "ScriptChecker.h"

namespace kx::script {

namespace {

const std::unordered_map<std::string, Keyword>& KeywordTable() {
    static const std::unordered_map<std::string, Keyword> table = {
        {"function", Keyword::Function}, {u8"功能", Keyword::Function},
        {"end", Keyword::End},           {u8"结束", Keyword::End},
        {"var", Keyword::Var},           {u8"变量", Keyword::Var},
        {"return", Keyword::Return},     {u8"返回", Keyword::Return},
        {"if", Keyword::If},             {u8"如果", Keyword::If},
        {"elseif", Keyword::ElseIf},     {u8"否则如果", Keyword::ElseIf},
        {"else", Keyword::Else},         {u8"否则", Keyword::Else},
        {"while", Keyword::While},       {u8"循环", Keyword::While},
        {"break", Keyword::Break},       {u8"跳出", Keyword::Break},
        {"continue", Keyword::Continue}, {u8"继续", Keyword::Continue},
        {"select", Keyword::Select},     {u8"选择", Keyword::Select},
        {"case", Keyword::Case},         {u8"条件", Keyword::Case},
        {"default", Keyword::Default},   {u8"默认", Keyword::Default},
        {"true", Keyword::True},         {u8"真", Keyword::True},
        {"false", Keyword::False},       {u8"假", Keyword::False},
    };
    return table;
}

// Decodes the code point at text[pos]; length 0 marks a malformed sequence.
std::uint32_t DecodeUtf8(const std::string& text, std::size_t pos, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t extra = 0;
    std::uint32_t cp = 0;
    if (lead < 0x80) {
        length = 1;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07u;
    } else {
        length = 0;
        return 0;
    }
    if (pos + extra >= text.size()) {
        length = 0;
        return 0;
    }
    for (std::size_t i = 1; i <= extra; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            length = 0;
            return 0;
        }
        cp = (cp << 6) | (byte(pos + i) & 0x3Fu);
    }
    length = extra + 1;
    return cp;
}

// Names follow the program's own rule, the one the generator makes names by.
bool IsNameStart(std::uint32_t cp) { return kx::IsKxNameStart(cp); }

bool IsNamePart(std::uint32_t cp) { return kx::IsKxNamePart(cp); }

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

class Lexer {
public:
    Lexer(const std::string& file, const std::string& text, Diagnostics& out)
        : file_(file), text_(text), out_(out) {}

    std::vector<Token> Run() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') {
                ++pos_;
                continue;
            }
            if (c == '\n' || c == '\r') {
                EndLine();
                ++pos_;
                continue;
            }
            if (c == ' ' || c == '\t') {
                ++pos_;
                continue;
            }
            if (c == '/' && Peek(1) == '/') {
                SkipComment();
                continue;
            }
            if (c == '"') {
                ReadString();
                continue;
            }
            if (c == '#' || (c >= '0' && c <= '9')) {
                ReadNumber();
                continue;
            }
            if (ReadName()) continue;
            ReadSymbol();
        }
        EndLine();
        return std::move(tokens_);
    }

private:
    char Peek(std::size_t ahead) const {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
    }

    void Error(const std::string& message) { out_.push_back({file_, line_, message}); }

    void Add(TokenKind kind, std::string text, Keyword keyword = Keyword::None) {
        Token token;
        token.kind = kind;
        token.keyword = keyword;
        token.text = std::move(text);
        token.line = line_;
        tokens_.push_back(std::move(token));
    }

    void EndLine() {
        Add(TokenKind::LineEnd, "");
        ++line_;
    }

    void SkipComment() {
        while (pos_ < text_.size() && text_[pos_] != '\r' && text_[pos_] != '\n') ++pos_;
    }

    void ReadString() {
        ++pos_;  // opening quote
        std::string value;
        while (true) {
            if (pos_ >= text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n') {
                Error("unterminated string");
                Add(TokenKind::String, value);
                return;
            }
            const char c = text_[pos_++];
            if (c == '"') break;
            if (c != '\\') {
                value += c;
                continue;
            }
            const char e = pos_ < text_.size() ? text_[pos_] : '\0';
            switch (e) {
                case '"': value += '"'; break;
                case '\\': value += '\\'; break;
                case 'r': value += '\r'; break;
                case 'n': value += '\n'; break;
                case 't': value += '\t'; break;
                default:
                    Error(std::string("unknown escape \\") + (e == '\0' ? std::string() : std::string(1, e)) +
                          " in a string");
                    if (e == '\0' || e == '\r' || e == '\n') continue;
                    value += e;
            }
            ++pos_;
        }
        Add(TokenKind::String, value);
    }

    void ReadNumber() {
        const std::size_t start = pos_;
        if (text_[pos_] == '#') {
            ++pos_;
            while (pos_ < text_.size() && IsHexDigit(text_[pos_])) ++pos_;
            if (pos_ == start + 1) Error("\"#\" without hexadecimal digits");
        } else {
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
            if (Peek(0) == '.' && Peek(1) >= '0' && Peek(1) <= '9') {
                ++pos_;
                while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
            }
        }
        // A name glued to a number ("12ab", "#FFzz") is a typo, not two tokens.
        std::size_t length = 0;
        if (pos_ < text_.size() && IsNamePart(DecodeUtf8(text_, pos_, length)) && length > 0) {
            Error("malformed number \"" + text_.substr(start, pos_ - start + length) + "\"");
        }
        Add(TokenKind::Number, text_.substr(start, pos_ - start));
    }

    bool ReadName() {
        std::size_t length = 0;
        const std::uint32_t first = DecodeUtf8(text_, pos_, length);
        if (length == 0 || !IsNameStart(first)) return false;
        const std::size_t start = pos_;
        pos_ += length;
        while (pos_ < text_.size()) {
            const std::uint32_t cp = DecodeUtf8(text_, pos_, length);
            if (length == 0 || !IsNamePart(cp)) break;
            pos_ += length;
        }
        std::string name = text_.substr(start, pos_ - start);
        const auto& keywords = KeywordTable();
        const auto found = keywords.find(name);
        if (found != keywords.end()) {
            Add(TokenKind::Keyword, std::move(name), found->second);
        } else {
            Add(TokenKind::Name, std::move(name));
        }
        return true;
    }

    void ReadSymbol() {
        static const char* const twoCharacter[] = {"==", "!=", "<=", ">=", "&&", "||"};
        for (const char* symbol : twoCharacter) {
            if (text_[pos_] == symbol[0] && Peek(1) == symbol[1]) {
                Add(TokenKind::Symbol, symbol);
                pos_ += 2;
                return;
            }
        }
        static const std::string single = "()[],.;+-*/%=<>!&";
        if (single.find(text_[pos_]) != std::string::npos) {
            Add(TokenKind::Symbol, std::string(1, text_[pos_]));
            ++pos_;
            return;
        }
        std::size_t length = 0;
        DecodeUtf8(text_, pos_, length);
        if (length == 0) {
            Error("invalid UTF-8 byte");
            ++pos_;
            return;
        }
        Error("unexpected character \"" + text_.substr(pos_, length) + "\"");
        pos_ += length;
    }

    const std::string& file_;
    const std::string& text_;
    Diagnostics& out_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

std::vector<Token> Tokenize(const std::string& file, const std::string& utf8, Diagnostics& out) {
    const std::string text = StripUtf8Bom(utf8);
    return Lexer(file, text, out).Run();
}

long long NumberValue(const Token& number) {
    if (!number.text.empty() && number.text[0] == '#') {
        return number.text.size() > 1 ? std::stoll(number.text.substr(1), nullptr, 16) : 0;
    }
    return number.text.empty() ? 0 : std::stoll(number.text);
}

}  // namespace kx::script
