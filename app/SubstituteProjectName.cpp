#include "SubstituteProjectName.h"

#include <cstring>

#include "Gbk.h"
#include "KxName.h"
#include "XmlText.h"

namespace kx {

namespace {

enum class Place { Code, Quoted, Comment };

// Where the reader of a window file or a script stands, moved on one GBK
// character at a time. A project file is one place throughout.
class PlaceTracker {
public:
    explicit PlaceTracker(TemplateKind kind) : kind_(kind) {}

    Place Current() const { return place_; }

    // Moves past the character of length bytes at text[pos].
    void Pass(const AnsiString& text, std::size_t pos, std::size_t length) {
        if (kind_ == TemplateKind::ProjectFile) return;
        const char c = length == 1 ? text[pos] : '\0';
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
    // '\\' and '"' are below 0x40, so they are never second bytes of GBK characters.
    AnsiString form;
    for (const char c : name) {
        if (c == '\\' || c == '"') form += '\\';
        form += c;
    }
    return form;
}

AnsiString CaptionForm(const AnsiString& name) {
    AnsiString form = name;
    for (char& c : form) {
        if (c == '"') c = '\'';  // a window caption has no escape for its own quote
    }
    return form;
}

// The name's form for each place of one kind of file.
struct NameForms {
    AnsiString code, quoted, comment;

    NameForms(TemplateKind kind, const AnsiString& name) {
        switch (kind) {
            case TemplateKind::ProjectFile:
                code = EscapeXmlText(name);
                break;
            case TemplateKind::WindowFile:
                code = KxIdentifierFrom(name);
                quoted = CaptionForm(name);
                break;
            case TemplateKind::Script:
                code = KxIdentifierFrom(name);
                quoted = ScriptStringForm(name);
                comment = name;
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

}  // namespace

AnsiString SubstituteProjectName(TemplateKind kind, const AnsiString& text, const AnsiString& name) {
    const NameForms forms(kind, name);
    const std::size_t placeholderLength = std::strlen(kProjectNamePlaceholder);
    const std::size_t zero = text.find('\0');
    const AnsiString searched = text.substr(0, zero);  // the whole text without a zero byte

    AnsiString result;
    result.reserve(text.size());
    PlaceTracker tracker(kind);
    for (std::size_t pos = 0; pos < searched.size();) {
        if (searched.compare(pos, placeholderLength, kProjectNamePlaceholder) == 0) {
            result += forms.At(tracker.Current());
            pos += placeholderLength;  // the placeholder holds no quote, slash or line end
            continue;
        }
        const std::size_t length = GbkCharLength(searched, pos);
        tracker.Pass(searched, pos, length);
        result.append(searched, pos, length);
        pos += length;
    }
    if (zero != AnsiString::npos) result.append(text, zero, AnsiString::npos);
    return result;
}

}  // namespace kx
