#include "SubstituteProjectName.h"

#include <cstring>
#include <string_view>

#include "Gbk.h"
#include "KxName.h"
#include "ReplaceAll.h"
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
        form += c.Is('"') ? std::string_view("'") : c.bytes;
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

AnsiString SubstituteProjectName(TemplateKind kind, const AnsiString& text, const ProjectNameForms& projectForms) {
    const NameForms forms(kind, projectForms);
    const std::size_t placeholderLength = std::strlen(kProjectNamePlaceholder);
    const std::size_t zero = text.find('\0');
    const std::string_view searched = std::string_view(text).substr(0, zero);  // the whole text without a zero byte

    AnsiString result;
    result.reserve(text.size());
    PlaceTracker tracker(kind);
    std::size_t copied = 0;
    for (std::size_t pos = 0; pos < searched.size();) {
        if (searched[pos] == '$' && searched.substr(pos, placeholderLength) == kProjectNamePlaceholder) {
            result.append(searched.data() + copied, pos - copied);
            result += forms.At(tracker.Current());
            pos += placeholderLength;  // the placeholder holds no quote, slash or line end
            copied = pos;
            continue;
        }
        const std::size_t length = GbkCharLength(searched, pos);
        tracker.Pass(text, pos, length);
        pos += length;
    }
    result.append(searched.data() + copied, searched.size() - copied);
    if (zero != AnsiString::npos) result.append(text, zero, AnsiString::npos);
    return result;
}

}  // namespace kx
