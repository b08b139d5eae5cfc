#include "XmlCheck.h"

#include <cstdint>
#include <stdexcept>

#include "TextContent.h"

namespace kx::script::test {

namespace {

struct XmlError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool IsNameStartByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameByte(unsigned char c) {
    return IsNameStartByte(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    XmlElement Document() {
        if (Starts("<?xml")) ProcessingInstruction();
        Misc();
        if (!Starts("<")) Fail("no root element");
        XmlElement root = Element();
        Misc();
        if (pos_ != text_.size()) Fail("content after the root element");
        return root;
    }

    [[noreturn]] void Fail(const std::string& what) const {
        std::size_t line = 1;
        for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) line += text_[i] == '\n';
        throw XmlError("line " + std::to_string(line) + ": " + what);
    }

private:
    bool Starts(const char* s) const { return text_.compare(pos_, std::char_traits<char>::length(s), s) == 0; }
    bool AtEnd() const { return pos_ >= text_.size(); }
    unsigned char Byte() const { return static_cast<unsigned char>(text_[pos_]); }

    void Expect(const char* s) {
        if (!Starts(s)) Fail(std::string("expected \"") + s + "\"");
        pos_ += std::char_traits<char>::length(s);
    }

    bool SkipSpace() {
        const std::size_t start = pos_;
        while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n')) {
            ++pos_;
        }
        return pos_ > start;
    }

    std::string Name() {
        if (AtEnd() || !IsNameStartByte(Byte())) Fail("expected a name");
        const std::size_t start = pos_;
        while (!AtEnd() && IsNameByte(Byte())) ++pos_;
        return text_.substr(start, pos_ - start);
    }

    // Up to and past the terminator; what is in between must not hold forbidden.
    std::string Until(const char* terminator, const char* what) {
        const std::size_t end = text_.find(terminator, pos_);
        if (end == std::string::npos) Fail(std::string("unterminated ") + what);
        std::string inside = text_.substr(pos_, end - pos_);
        pos_ = end + std::char_traits<char>::length(terminator);
        return inside;
    }

    void ProcessingInstruction() {
        Expect("<?");
        Name();
        Until("?>", "processing instruction");
    }

    void Comment() {
        Expect("<!--");
        const std::string inside = Until("-->", "comment");
        if (inside.find("--") != std::string::npos || (!inside.empty() && inside.back() == '-')) {
            Fail("\"--\" inside a comment");
        }
    }

    void Misc() {
        while (true) {
            SkipSpace();
            if (Starts("<!--")) {
                Comment();
            } else if (Starts("<?")) {
                if (Starts("<?xml") && (pos_ + 5 >= text_.size() || !IsNameByte(static_cast<unsigned char>(text_[pos_ + 5])))) {
                    Fail("XML declaration not at the start");
                }
                ProcessingInstruction();
            } else if (Starts("<!DOCTYPE")) {
                Fail("document type declarations are not read");
            } else {
                return;
            }
        }
    }

    // At "&": appends what the reference stands for.
    void Reference(std::string& out) {
        ++pos_;
        const std::size_t semicolon = text_.find(';', pos_);
        if (semicolon == std::string::npos || semicolon == pos_) Fail("\"&\" that starts no reference");
        const std::string body = text_.substr(pos_, semicolon - pos_);
        pos_ = semicolon + 1;
        if (body == "amp") out += '&';
        else if (body == "lt") out += '<';
        else if (body == "gt") out += '>';
        else if (body == "quot") out += '"';
        else if (body == "apos") out += '\'';
        else if (body[0] == '#') {
            const bool hex = body.size() > 1 && body[1] == 'x';
            const std::string digits = body.substr(hex ? 2 : 1);
            const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
            if (digits.empty() || digits.size() > 6 || digits.find_first_not_of(allowed) != std::string::npos) {
                Fail("malformed character reference &" + body + ";");
            }
            const std::uint32_t cp = static_cast<std::uint32_t>(std::stoul(digits, nullptr, hex ? 16 : 10));
            const bool legal = cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
                               (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
            if (!legal) Fail("reference to a character XML does not allow");
            AppendUtf8CodePoint(out, cp);
        } else {
            Fail("undefined entity &" + body + ";");
        }
    }

    void CheckCharacter() const {
        const unsigned char c = Byte();
        if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') Fail("control character");
    }

    std::string AttributeValue() {
        if (AtEnd() || (text_[pos_] != '"' && text_[pos_] != '\'')) Fail("attribute value without quotes");
        const char quote = text_[pos_++];
        std::string value;
        while (true) {
            if (AtEnd()) Fail("unterminated attribute value");
            const char c = text_[pos_];
            if (c == quote) break;
            if (c == '<') Fail("\"<\" in an attribute value");
            if (c == '&') {
                Reference(value);
                continue;
            }
            CheckCharacter();
            value += c;
            ++pos_;
        }
        ++pos_;
        return value;
    }

    XmlElement Element() {
        Expect("<");
        XmlElement element;
        element.name = Name();
        while (true) {
            const bool spaced = SkipSpace();
            if (Starts("/>")) {
                pos_ += 2;
                return element;
            }
            if (Starts(">")) {
                ++pos_;
                break;
            }
            if (!spaced) Fail("attributes must be separated by white space");
            const std::string attribute = Name();
            SkipSpace();
            Expect("=");
            SkipSpace();
            if (!element.attributes.emplace(attribute, AttributeValue()).second) {
                Fail("attribute " + attribute + " given twice");
            }
        }
        Content(element);
        Expect("</");
        if (Name() != element.name) Fail("end tag does not match <" + element.name + ">");
        SkipSpace();
        Expect(">");
        return element;
    }

    void Content(XmlElement& element) {
        while (true) {
            if (AtEnd()) Fail("element <" + element.name + "> is not closed");
            if (Starts("</")) return;
            if (Starts("<!--")) {
                Comment();
            } else if (Starts("<![CDATA[")) {
                pos_ += 9;
                element.text += Until("]]>", "CDATA section");
            } else if (Starts("<?")) {
                ProcessingInstruction();
            } else if (Starts("<")) {
                element.children.push_back(Element());
            } else if (Starts("&")) {
                Reference(element.text);
            } else if (Starts("]]>")) {
                Fail("\"]]>\" in text");
            } else {
                CheckCharacter();
                element.text += text_[pos_++];
            }
        }
    }

    const std::string& text_;
    std::size_t pos_ = 0;
};

}  // namespace

const XmlElement* XmlElement::Child(const std::string& childName) const {
    for (const XmlElement& child : children) {
        if (child.name == childName) return &child;
    }
    return nullptr;
}

bool ParseXml(const std::string& utf8, XmlElement& root, std::string& error) {
    Reader reader(utf8);
    try {
        root = reader.Document();
        return true;
    } catch (const XmlError& e) {
        error = e.what();
        return false;
    }
}

}  // namespace kx::script::test
