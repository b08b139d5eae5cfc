#include "ProjectRecord.h"

#include <cstdlib>

#include "CodePage.h"
#include "FileSystem.h"
#include "FileWriting.h"
#include "PathSplit.h"
#include "Sha256.h"
#include "templates/TemplateFiles.h"

namespace kx {

namespace {

constexpr char kFirstLine[] = "kxgen project record 1";

// Relative paths in the record: UTF-8 with "/" whatever the platform joins
// with. UTF-8 has no 0x5C inside a character, so after the conversion
// every backslash is a separator (the 5C of GBK's 乗 has become E4 B9 97).
std::string RecordPathOf(const AnsiString& relativePath) {
    std::string utf8 = Utf8FromAnsi(relativePath);
    for (char& c : utf8) {
        if (c == kPathSeparator) c = '/';
    }
    return utf8;
}

AnsiString PathFromRecord(std::string utf8) {
    for (char& c : utf8) {
        if (c == '/') c = kPathSeparator;
    }
    return AnsiFromUtf8(utf8);
}

bool IsHash(const std::string& text) {
    if (text.size() != 64) return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

// "key rest-of-line": the key and what follows its space.
bool SplitKey(const std::string& line, const char* key, std::string& rest) {
    const std::string prefix = std::string(key) + " ";
    if (line.compare(0, prefix.size(), prefix) != 0) return false;
    rest = line.substr(prefix.size());
    return true;
}

// "<hash> <rest>".
bool SplitHash(const std::string& text, std::string& hash, std::string& rest) {
    if (text.size() < 66 || text[64] != ' ') return false;
    hash = text.substr(0, 64);
    rest = text.substr(65);
    return IsHash(hash) && !rest.empty();
}

bool ParseLength(const std::string& digits, std::size_t& length) {
    if (digits.empty() || digits.size() > 12) return false;
    for (const char c : digits) {
        if (c < '0' || c > '9') return false;
    }
    length = static_cast<std::size_t>(std::strtoull(digits.c_str(), nullptr, 10));
    return true;
}

}  // namespace

std::string PortableRelativePath(const AnsiString& relativePath) { return RecordPathOf(relativePath); }

AnsiString RecordRelativePath() { return AnsiString(kRecordFolderName) + kPathSeparator + kRecordFileName; }

std::vector<PathBelow> RecordPathsBelow(const AnsiString& project) {
    const AnsiString record = project + kPathSeparator + RecordRelativePath();
    return {{project + kPathSeparator + kRecordFolderName, true},
            {record, false},
            {record + kTemporaryFileSuffix, false}};
}

const RecordedFile* ProjectRecord::TextAt(const AnsiString& relativePath) const {
    for (const RecordedFile& text : texts) {
        if (text.relativePath == relativePath) return &text;
    }
    return nullptr;
}

bool ProjectRecord::SameFilesAs(const ProjectRecord& other) const {
    const auto same = [](const RecordedFile& a, const RecordedFile& b) {
        return a.relativePath == b.relativePath && a.hash == b.hash && a.bytes == b.bytes;
    };
    if (forms.typed != other.forms.typed || forms.identifier != other.forms.identifier || guid != other.guid ||
        templates != other.templates || dll.has_value() != other.dll.has_value() ||
        (dll && !same(*dll, *other.dll)) || texts.size() != other.texts.size()) {
        return false;
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!same(texts[i], other.texts[i])) return false;
    }
    return true;
}

std::string TemplateFingerprint(const TemplateSource& templates) {
    Sha256 hash;
    const auto add = [&hash](std::string_view name, std::string_view bytes) {
        hash.Add(name).Add(std::string(1, '\0')).Add(std::to_string(bytes.size())).Add(std::string(1, '\0')).Add(bytes);
    };
    for (const TemplateFile& file : kTemplateFiles) {
        templates.LendText(file.resource, [&](AnsiView text) { add(file.resource, BytesOf(text)); });
    }
    add("dll", templates.DllBytes());
    return hash.HexDigest();
}

namespace {

// The record of these files but for the texts' bytes.
ProjectRecord RecordWithoutBytes(const std::string& version, const ProjectNameForms& forms, const AnsiString& guid,
                                 const std::string& templateFingerprint, const std::vector<ProjectTextFile>& texts,
                                 const std::string& dllBytes) {
    ProjectRecord record;
    record.version = version;
    record.forms = forms;
    record.guid = guid;
    record.templates = templateFingerprint;
    if (!dllBytes.empty()) record.dll = RecordedFile{DllRelativePath(), Sha256Hex(dllBytes), std::string()};
    record.texts.reserve(texts.size());
    for (const ProjectTextFile& text : texts) record.texts.push_back({text.relativePath, Sha256Hex(text.bytes), {}});
    return record;
}

// Every line up to the empty one that ends them; bodies[i] is the bytes of
// record.texts[i].
std::string RecordHeader(const ProjectRecord& record, const std::vector<std::string_view>& bodies) {
    std::string out = std::string(kFirstLine) + "\n";
    out += "version " + record.version + "\n";
    out += "name " + Utf8FromAnsi(record.forms.typed) + "\n";
    out += "identifier " + Utf8FromAnsi(record.forms.identifier) + "\n";
    out += "guid " + Utf8FromAnsi(record.guid) + "\n";
    out += "templates " + record.templates + "\n";
    if (record.dll) out += "dll " + record.dll->hash + " " + RecordPathOf(record.dll->relativePath) + "\n";
    for (std::size_t i = 0; i < record.texts.size(); ++i) {
        const RecordedFile& text = record.texts[i];
        out += "text " + text.hash + " " + std::to_string(bodies[i].size()) + " " + RecordPathOf(text.relativePath) +
               "\n";
    }
    out += "\n";
    return out;
}

std::vector<std::string_view> BodiesOf(const ProjectRecord& record) {
    std::vector<std::string_view> bodies;
    for (const RecordedFile& text : record.texts) bodies.push_back(text.bytes);
    return bodies;
}

void WritePieces(const AnsiString& projectFolder, const std::string& header,
                 const std::vector<std::string_view>& bodies) {
    const AnsiString folder = projectFolder + kPathSeparator + kRecordFolderName;
    if (!DirectoryExists(folder) && !CreateFolder(folder)) {
        throw EFCreateError(folder, "");
    }
    // Hidden is a courtesy to the user's file views; the record works without it.
    HideFolder(folder);
    std::vector<std::string_view> pieces = {header};
    pieces.insert(pieces.end(), bodies.begin(), bodies.end());
    WriteWholeFileAtomically(projectFolder + kPathSeparator + RecordRelativePath(), pieces);
}

}  // namespace

ProjectRecord RecordOf(const std::string& version, const ProjectNameForms& forms, const AnsiString& guid,
                       const std::string& templateFingerprint, const std::vector<ProjectTextFile>& texts,
                       const std::string& dllBytes) {
    ProjectRecord record = RecordWithoutBytes(version, forms, guid, templateFingerprint, texts, dllBytes);
    for (std::size_t i = 0; i < texts.size(); ++i) record.texts[i].bytes = texts[i].bytes;
    return record;
}

std::string RecordBytes(const ProjectRecord& record) {
    const std::vector<std::string_view> bodies = BodiesOf(record);
    std::string out = RecordHeader(record, bodies);
    for (const std::string_view body : bodies) out += body;
    return out;
}

RecordProblem ParseRecord(const std::string& bytes, ProjectRecord& record) {
    record = ProjectRecord();
    std::size_t pos = 0;
    // The next header line without its LF; false at the end of the bytes.
    const auto nextLine = [&](std::string& line) {
        const std::size_t end = bytes.find('\n', pos);
        if (end == std::string::npos) return false;
        line = bytes.substr(pos, end - pos);
        pos = end + 1;
        return true;
    };
    std::string line;
    std::string rest;
    if (!nextLine(line) || line != kFirstLine) return RecordProblem::Malformed;
    std::string name;
    std::string identifier;
    std::string guid;
    const struct {
        const char* key;
        std::string* value;
    } fixed[] = {{"version", &record.version}, {"name", &name}, {"identifier", &identifier},
                 {"guid", &guid},              {"templates", &record.templates}};
    for (const auto& field : fixed) {
        if (!nextLine(line) || !SplitKey(line, field.key, *field.value) || field.value->empty()) {
            return RecordProblem::Malformed;
        }
    }
    if (!IsHash(record.templates)) return RecordProblem::Malformed;
    std::vector<std::size_t> lengths;
    while (nextLine(line) && !line.empty()) {
        std::string hash;
        std::string tail;
        if (SplitKey(line, "dll", rest)) {
            if (record.dll || !record.texts.empty() || !SplitHash(rest, hash, tail)) return RecordProblem::Malformed;
            record.dll = RecordedFile{PathFromRecord(tail), hash, std::string()};
            continue;
        }
        if (!SplitKey(line, "text", rest) || !SplitHash(rest, hash, tail)) return RecordProblem::Malformed;
        const std::size_t space = tail.find(' ');
        std::size_t length = 0;
        if (space == std::string::npos || space + 1 == tail.size() || !ParseLength(tail.substr(0, space), length)) {
            return RecordProblem::Malformed;
        }
        record.texts.push_back({PathFromRecord(tail.substr(space + 1)), hash, std::string()});
        lengths.push_back(length);
    }
    if (!line.empty()) return RecordProblem::Malformed;  // the bytes ended before the empty line
    for (std::size_t i = 0; i < record.texts.size(); ++i) {
        if (bytes.size() - pos < lengths[i]) return RecordProblem::Malformed;
        record.texts[i].bytes = bytes.substr(pos, lengths[i]);
        pos += lengths[i];
        if (Sha256Hex(record.texts[i].bytes) != record.texts[i].hash) return RecordProblem::HashMismatch;
    }
    if (pos != bytes.size()) return RecordProblem::Malformed;
    record.forms.typed = AnsiFromUtf8(name);
    record.forms.identifier = AnsiFromUtf8(identifier);
    record.guid = AnsiFromUtf8(guid);
    return RecordProblem::None;
}

void WriteRecord(const AnsiString& projectFolder, const ProjectRecord& record) {
    const std::vector<std::string_view> bodies = BodiesOf(record);
    WritePieces(projectFolder, RecordHeader(record, bodies), bodies);
}

void WriteRecordOf(const AnsiString& projectFolder, const std::string& version, const ProjectNameForms& forms,
                   const AnsiString& guid, const std::string& templateFingerprint,
                   const std::vector<ProjectTextFile>& texts, const std::string& dllBytes) {
    const ProjectRecord record = RecordWithoutBytes(version, forms, guid, templateFingerprint, texts, dllBytes);
    std::vector<std::string_view> bodies;
    for (const ProjectTextFile& text : texts) bodies.push_back(text.bytes);
    WritePieces(projectFolder, RecordHeader(record, bodies), bodies);
}

}  // namespace kx
