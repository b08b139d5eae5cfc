// Byte-level helpers: encodings of the generated files, and the shape of
// messages that scripts build from pieces.
#include "ScriptChecker.h"
#include "TextContent.h"

namespace kx::script {

std::string StripUtf8Bom(const std::string& bytes, bool* hadBom) {
    const bool bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    if (hadBom) *hadBom = bom;
    return bom ? bytes.substr(3) : bytes;
}

std::string DecodeUtf16Le(const std::string& bytes, bool* hadBom, bool* ok) {
    const bool bom = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    if (hadBom) *hadBom = bom;
    WideString units;
    for (std::size_t i = bom ? 2 : 0; i + 1 < bytes.size(); i += 2) {
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    // A well-formed file has whole units and no surrogate without its partner.
    bool good = bytes.size() % 2 == 0;
    const auto isHigh = [](char16_t u) { return u >= 0xD800 && u <= 0xDBFF; };
    const auto isLow = [](char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
    for (std::size_t k = 0; k < units.size(); ++k) {
        if (isHigh(units[k]) && k + 1 < units.size() && isLow(units[k + 1])) {
            ++k;
        } else if (isHigh(units[k]) || isLow(units[k])) {
            good = false;
        }
    }
    if (ok) *ok = good;
    return Utf8FromUnits(units);
}

std::string ConcatenationShape(const std::vector<Token>& expression) {
    std::string shape;
    std::vector<const Token*> operand;
    int depth = 0;
    const auto flush = [&] {
        if (operand.size() == 1 && operand[0]->kind == TokenKind::String) {
            shape += operand[0]->text;
        } else if (!operand.empty()) {
            shape += "{}";
        }
        operand.clear();
    };
    for (const Token& token : expression) {
        if (token.kind == TokenKind::Symbol && (token.text == "(" || token.text == "[")) ++depth;
        if (token.kind == TokenKind::Symbol && (token.text == ")" || token.text == "]")) --depth;
        if (depth == 0 && token.kind == TokenKind::Symbol && token.text == "&") {
            flush();
        } else {
            operand.push_back(&token);
        }
    }
    flush();
    return shape;
}

namespace {

bool HasString(const std::vector<Token>& tokens) {
    for (const Token& token : tokens) {
        if (token.kind == TokenKind::String) return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> TextShapes(const Function& function) {
    std::vector<std::string> shapes;
    // Right-hand sides of assignments and initialisers.
    std::vector<Token> line;
    const auto take = [&] {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i].kind == TokenKind::Symbol && line[i].text == "=") {
                std::vector<Token> value(line.begin() + static_cast<long>(i) + 1, line.end());
                if (HasString(value)) shapes.push_back(ConcatenationShape(value));
                break;
            }
        }
        line.clear();
    };
    for (const Token& token : function.body) {
        if (token.kind == TokenKind::LineEnd) {
            take();
        } else {
            line.push_back(token);
        }
    }
    take();
    // Arguments of every call.
    for (const Call& call : function.calls) {
        for (const auto& argument : call.arguments) {
            if (HasString(argument)) shapes.push_back(ConcatenationShape(argument));
        }
    }
    return shapes;
}

std::vector<const Call*> CallsTo(const Function& function, const std::string& callee) {
    std::vector<const Call*> calls;
    for (const Call& call : function.calls) {
        if (call.callee == callee || IsBuiltinNamed(call.callee, callee)) calls.push_back(&call);
    }
    return calls;
}

}  // namespace kx::script
