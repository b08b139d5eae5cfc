// Character boundaries in code page 936 (GBK): a byte from 0x81 to 0xFE starts
// a two-byte character whose second byte may be any value from 0x40 up,
// a backslash (0x5C), a vertical bar (0x7C) and most ASCII letters among them.
// GBK text is walked by character, with GbkChars, never byte by byte.
#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace kx {

inline bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// The second bytes code page 936 defines after a lead byte. Windows reads a
// lead byte with any other second byte as one invalid character ('?').
inline bool IsGbkTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// Length in bytes of the character that starts at text[pos]. A lead byte at the
// very end, or before a zero byte, counts as a character of its own.
inline std::size_t GbkCharLength(std::string_view text, std::size_t pos) {
    if (IsGbkLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() && text[pos + 1] != '\0') {
        return 2;
    }
    return 1;
}

// One character of GBK text: one byte, or a lead byte with the byte after it.
struct GbkChar {
    std::size_t offset;      // where it starts in the text
    std::string_view bytes;  // one or two bytes

    // True for the single-byte character c: never for the second byte of a
    // double-byte character, whatever its value.
    bool Is(char c) const { return bytes.size() == 1 && bytes[0] == c; }
    bool IsSingleByte() const { return bytes.size() == 1; }
    // The byte of a single-byte character (ASCII, or a byte that stands alone).
    unsigned char Byte() const { return static_cast<unsigned char>(bytes[0]); }
    std::size_t End() const { return offset + bytes.size(); }
};

// The characters of a GBK text, in order: for (const GbkChar c : GbkChars(text)).
class GbkChars {
public:
    explicit GbkChars(std::string_view text, std::size_t from = 0) : text_(text), from_(from) {}

    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = GbkChar;
        using difference_type = std::ptrdiff_t;
        using pointer = const GbkChar*;
        using reference = GbkChar;

        Iterator(std::string_view text, std::size_t pos) : text_(text), pos_(pos) {}
        GbkChar operator*() const { return {pos_, text_.substr(pos_, GbkCharLength(text_, pos_))}; }
        Iterator& operator++() {
            pos_ += GbkCharLength(text_, pos_);
            return *this;
        }
        bool operator==(const Iterator& other) const { return pos_ == other.pos_; }
        bool operator!=(const Iterator& other) const { return pos_ != other.pos_; }

    private:
        std::string_view text_;
        std::size_t pos_;
    };

    Iterator begin() const { return Iterator(text_, from_ < text_.size() ? from_ : text_.size()); }
    Iterator end() const { return Iterator(text_, text_.size()); }

private:
    std::string_view text_;
    std::size_t from_;
};

// Byte offset where the last character of text starts; npos for an empty text.
inline std::size_t GbkLastCharStart(std::string_view text) {
    std::size_t last = std::string::npos;
    for (const GbkChar c : GbkChars(text)) last = c.offset;
    return last;
}

}  // namespace kx
