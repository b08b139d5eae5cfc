#include "SubstituteProjectName.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "Gbk.h"
#include "KxName.h"
#include "ReplaceAll.h"
#include "XmlText.h"

namespace kx {

namespace {

enum class Place { Code, Quoted, Comment };

// A set of ASCII bytes.
class ByteSet {
public:
    constexpr explicit ByteSet(const char* bytes) {
        for (; *bytes != '\0'; ++bytes) (*bytes < 64 ? low_ : high_) |= std::uint64_t{1} << (*bytes % 64);
    }
    bool Has(unsigned char b) const { return b < 64 ? (low_ >> b) & 1 : b < 128 && ((high_ >> (b - 64)) & 1); }

private:
    std::uint64_t low_ = 0, high_ = 0;
};

// Where the first character of text from pos (a character's start) that is
// one of stops lies; text.size() when none is.
std::size_t NextStop(AnsiView text, std::size_t pos, const ByteSet& stops) {
    while (pos < text.size()) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            if (stops.Has(b)) return pos;
            ++pos;
        } else {
            pos += GbkCharLength(text, pos);
        }
    }
    return pos;
}

// Where the reader of a window file or a script stands, moved on one GBK
// character at a time. A project file is one place throughout.
class PlaceTracker {
public:
    explicit PlaceTracker(TemplateKind kind) : kind_(kind) {}

    Place Current() const { return place_; }

    // The single-byte characters that may move the reader from where it
    // stands, or start the placeholder: a run of other characters is passed
    // over at once. nullptr where the reader must go by the next character
    // whatever it is (the one after a backslash in a script's string).
    const ByteSet* Stops() const {
        static constexpr ByteSet kPlaceholder("$"), kInCode("$\"/\r\n"), kInComment("$\r\n"),
            kInCaption("$\"\r\n"), kInScriptString("$\"\\\r\n");
        if (kind_ == TemplateKind::ProjectFile) return &kPlaceholder;
        switch (place_) {
            case Place::Code: return &kInCode;
            case Place::Comment: return &kInComment;
            case Place::Quoted: break;
        }
        if (kind_ != TemplateKind::Script) return &kInCaption;
        return escaped_ ? nullptr : &kInScriptString;
    }

    // Moves past the character c of text.
    void Pass(AnsiView text, const GbkChar& character) {
        if (kind_ == TemplateKind::ProjectFile) return;
        const std::size_t pos = character.offset;
        const char c = character.IsSingleByte() ? character.bytes[0] : '\0';
        if (c == '\r' || c == '\n') {
            place_ = Place::Code;  // nothing KX reads goes on past a line end
            escaped_ = false;
            return;
        }
        switch (place_) {
            case Place::Code:
                if (c == '"') {
                    place_ = Place::Quoted;
                } else if (kind_ == TemplateKind::Script && c == '/' && pos + 1 < text.size() &&
                           text[pos + 1] == '/') {
                    place_ = Place::Comment;
                }
                break;
            case Place::Quoted:
                if (escaped_) {
                    escaped_ = false;  // whatever follows a backslash, a whole double-byte character too
                } else if (kind_ == TemplateKind::Script && c == '\\') {
                    escaped_ = true;
                } else if (c == '"') {
                    place_ = Place::Code;
                }
                break;
            case Place::Comment:
                break;
        }
    }

private:
    TemplateKind kind_;
    Place place_ = Place::Code;
    bool escaped_ = false;
};

AnsiString ScriptStringForm(const AnsiString& name) {
    // By characters: 0x5C is the second byte of 118 GBK characters (乗 is
    // 81 5C), and escaping it would end the string one byte early.
    AnsiString form;
    form.reserve(name.size() + 2);
    for (const GbkChar c : GbkChars(name)) {
        if (c.Is('\\') || c.Is('"')) form += '\\';
        form += c.bytes;
    }
    return form;
}

AnsiString CaptionForm(const AnsiString& name) {
    AnsiString form;
    form.reserve(name.size());
    for (const GbkChar c : GbkChars(name)) {
        // A window caption has no escape for its own quote.
        form += c.Is('"') ? AnsiView("'") : c.bytes;
    }
    return form;
}

// The name's form for each place of one kind of file.
struct NameForms {
    AnsiString code, quoted, comment;

    NameForms(TemplateKind kind, const ProjectNameForms& forms) {
        switch (kind) {
            case TemplateKind::ProjectFile:
                code = EscapeXmlText(forms.typed);
                break;
            case TemplateKind::WindowFile:
                code = forms.identifier;
                quoted = CaptionForm(forms.typed);
                break;
            case TemplateKind::Script:
                code = forms.identifier;
                quoted = ScriptStringForm(forms.typed);
                comment = forms.typed;
                break;
        }
    }

    const AnsiString& At(Place place) const {
        switch (place) {
            case Place::Quoted: return quoted;
            case Place::Comment: return comment;
            case Place::Code: break;
        }
        return code;
    }
};

bool IsTaken(const AnsiString& identifier, const TemplateWords& words) {
    return words.taken.count(identifier) != 0 || IsKxKeyword(identifier);
}

}  // namespace

ProjectNameForms NameFormsFor(const AnsiString& name, const TemplateWords& words) {
    ProjectNameForms forms{name, KxIdentifierFrom(name)};
    const auto clashes = [&](const AnsiString& identifier) {
        if (IsTaken(identifier, words)) return true;
        for (const AnsiString& built : words.withPlaceholder) {
            if (IsTaken(ReplaceAll(built, kProjectNamePlaceholder, identifier), words)) return true;
        }
        return false;
    };
    while (clashes(forms.identifier)) forms.identifier += '_';
    return forms;
}

void SubstituteInto(SubstitutedPieces& result, TemplateKind kind, AnsiView text, const ProjectNameForms& projectForms) {
    const NameForms forms(kind, projectForms);
    const std::size_t placeholderLength = std::strlen(kProjectNamePlaceholder);
    const std::size_t zero = text.find('\0');
    const AnsiView searched = text.substr(0, zero);  // the whole text without a zero byte

    PlaceTracker tracker(kind);
    std::size_t copied = 0;  // whole runs are copied at once, up to each placeholder
    for (GbkChars::Iterator at = GbkChars(searched).begin(), end = GbkChars(searched).end(); at != end;) {
        if (const ByteSet* stops = tracker.Stops()) {
            const std::size_t next = NextStop(searched, (*at).offset, *stops);
            if (next == searched.size()) break;
            if (next != (*at).offset) {
                at = GbkChars(searched, next).begin();
                continue;
            }
        }
        const GbkChar c = *at;
        if (c.Is('$') && searched.substr(c.offset, placeholderLength) == kProjectNamePlaceholder) {
            result.Append(searched.substr(copied, c.offset - copied));
            result.Append(forms.At(tracker.Current()));
            copied = c.offset + placeholderLength;  // the placeholder holds no quote, slash or line end
            at = GbkChars(searched, copied).begin();
            continue;
        }
        tracker.Pass(searched, c);
        ++at;
    }
    result.Append(searched.substr(copied));
    if (zero != AnsiView::npos) result.Append(text.substr(zero));
}

AnsiString SubstituteProjectName(TemplateKind kind, const AnsiString& text, const ProjectNameForms& projectForms) {
    struct Whole final : SubstitutedPieces {
        AnsiString text;
        void Append(AnsiView piece) override { text += piece; }
    } result;
    result.text.reserve(text.size());
    SubstituteInto(result, kind, text, projectForms);
    return std::move(result.text);
}

}  // namespace kx
