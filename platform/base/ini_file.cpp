#include "platform/base/ini_file.h"

#include "platform/base/codepage.h"
#include "platform/base/nocase.h"
#include "platform/base/path.h"
#include "platform/base/text.h"

#include <map>
#include <memory>
#include <mutex>
#include <sys/stat.h>

namespace plat {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

struct IniLine {
    enum class Kind { Other, Section, Key };

    std::string bytes;  // as in the file, without the line break
    std::string ending; // "\r\n", "\n", or empty on a last line without one
    Kind kind = Kind::Other;
    std::wstring name;      // section or key, trimmed
    std::wstring value;     // trimmed and unquoted
    std::wstring keyPrefix; // a key line's text up to and including '=', kept on rewrite
};

struct IniDocument {
    std::string encoding; // empty for UTF-8
    bool bom = false;
    std::string newline = "\n"; // for lines we add
    std::vector<IniLine> lines;
};

std::wstring_view Trim(std::wstring_view s) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// One pair of matching quotes goes, as GetPrivateProfileString does ('...' or "...").
std::wstring_view Unquote(std::wstring_view s) {
    if (s.size() >= 2 && (s.front() == L'"' || s.front() == L'\'') && s.back() == s.front()) {
        return s.substr(1, s.size() - 2);
    }
    return s;
}

bool IsValidUtf8(std::string_view bytes) {
    return ToUtf8(FromUtf8(bytes)) == bytes;
}

std::wstring Decode(const IniDocument& doc, std::string_view bytes) {
    return doc.encoding.empty() ? FromUtf8(bytes) : DecodeBytes(bytes, doc.encoding);
}

std::string Encode(const IniDocument& doc, std::wstring_view text) {
    return doc.encoding.empty() ? ToUtf8(text) : EncodeText(text, doc.encoding);
}

void Classify(IniLine& line, std::wstring_view text) {
    line.kind = IniLine::Kind::Other;
    line.name.clear();
    line.value.clear();
    line.keyPrefix.clear();
    const std::wstring_view content = Trim(text);
    if (content.empty() || content.front() == L';') {
        return;
    }
    if (content.front() == L'[') {
        const std::size_t close = content.rfind(L']');
        if (close != std::wstring_view::npos) {
            line.kind = IniLine::Kind::Section;
            line.name = Trim(content.substr(1, close - 1));
        }
        return;
    }
    const std::size_t equals = text.find(L'=');
    if (equals == std::wstring_view::npos) {
        return;
    }
    const std::wstring_view key = Trim(text.substr(0, equals));
    if (key.empty()) {
        return;
    }
    line.kind = IniLine::Kind::Key;
    line.name = key;
    line.value = Unquote(Trim(text.substr(equals + 1)));
    line.keyPrefix = text.substr(0, equals + 1);
}

IniDocument Parse(std::string_view bytes, const std::string& codePage) {
    IniDocument doc;
    if (bytes.starts_with(kBom)) {
        doc.bom = true;
        bytes.remove_prefix(kBom.size());
    } else if (!IsValidUtf8(bytes)) {
        doc.encoding = codePage;
    }
    const std::size_t firstBreak = bytes.find('\n');
    if (firstBreak != std::string_view::npos && firstBreak > 0 && bytes[firstBreak - 1] == '\r') {
        doc.newline = "\r\n";
    }
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        IniLine line;
        if (end == std::string_view::npos) {
            line.bytes = bytes.substr(pos);
            end = bytes.size();
        } else {
            line.bytes = bytes.substr(pos, end - pos);
            line.ending = "\n";
            if (!line.bytes.empty() && line.bytes.back() == '\r') {
                line.bytes.pop_back();
                line.ending = "\r\n";
            }
        }
        Classify(line, Decode(doc, line.bytes));
        doc.lines.push_back(std::move(line));
        pos = end + 1;
    }
    return doc;
}

std::string Serialize(const IniDocument& doc) {
    std::string out = doc.bom ? std::string(kBom) : std::string();
    for (const IniLine& line : doc.lines) {
        out += line.bytes;
        out += line.ending;
    }
    return out;
}

// What identifies one version of a file on disk.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& o) const {
        return device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

bool StampOf(const std::wstring& resolved, FileStamp& stamp) {
    struct stat st {};
    if (::stat(ToFsPath(resolved).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    stamp = {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    return true;
}

// Parsed files by resolved path; a changed stamp means the file is read again. Settings
// are read far more often than written, and often key by key from the same file.
class IniCache {
public:
    std::mutex& Mutex() { return m_mutex; }

    // Null when the file does not exist or cannot be read. Caller holds the mutex.
    std::shared_ptr<const IniDocument> Load(const std::wstring& resolved) {
        FileStamp stamp;
        if (!StampOf(resolved, stamp)) {
            m_entries.erase(resolved);
            return nullptr;
        }
        if (auto it = m_entries.find(resolved);
            it != m_entries.end() && it->second.stamp == stamp) {
            return it->second.doc;
        }
        std::string bytes;
        if (!ReadFileBytes(resolved, bytes)) {
            return nullptr;
        }
        auto doc = std::make_shared<const IniDocument>(Parse(bytes, ProcessCodePage()));
        if (m_entries.size() >= kMaxEntries) {
            m_entries.clear();
        }
        m_entries[resolved] = {stamp, doc};
        return doc;
    }

    void Forget(const std::wstring& resolved) { m_entries.erase(resolved); }

private:
    static constexpr std::size_t kMaxEntries = 64;

    struct Entry {
        FileStamp stamp;
        std::shared_ptr<const IniDocument> doc;
    };
    std::mutex m_mutex;
    std::map<std::wstring, Entry> m_entries;
};

// Never destroyed: settings may still be read by other objects' destructors at exit.
IniCache& Cache() {
    static auto* cache = new IniCache;
    return *cache;
}

// Index of the first section header named `section`, or npos.
std::size_t FindSection(const IniDocument& doc, std::wstring_view section) {
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        const IniLine& line = doc.lines[i];
        if (line.kind == IniLine::Kind::Section && EqualsNoCase(line.name, section)) {
            return i;
        }
    }
    return std::wstring::npos;
}

// One past the last line of the section whose header is at `header`.
std::size_t SectionEnd(const IniDocument& doc, std::size_t header) {
    std::size_t i = header + 1;
    while (i < doc.lines.size() && doc.lines[i].kind != IniLine::Kind::Section) {
        ++i;
    }
    return i;
}

std::size_t FindKey(const IniDocument& doc, std::size_t header, std::wstring_view key) {
    const std::size_t end = SectionEnd(doc, header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const IniLine& line = doc.lines[i];
        if (line.kind == IniLine::Kind::Key && EqualsNoCase(line.name, key)) {
            return i;
        }
    }
    return std::wstring::npos;
}

void InsertLine(IniDocument& doc, std::size_t at, std::wstring_view text) {
    if (at > 0 && doc.lines[at - 1].ending.empty()) {
        doc.lines[at - 1].ending = doc.newline;
    }
    IniLine line;
    line.bytes = Encode(doc, text);
    line.ending = doc.newline;
    Classify(line, text);
    doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

bool HasLineBreak(std::wstring_view s) {
    return s.find_first_of(L"\r\n") != std::wstring_view::npos;
}

// Names that would read back as something else are refused rather than written.
bool IsWritable(std::wstring_view section,
                std::wstring_view key,
                std::optional<std::wstring_view> value) {
    const std::wstring_view trimmedKey = Trim(key);
    return !HasLineBreak(section) && section.find(L']') == std::wstring_view::npos &&
           !trimmedKey.empty() && !HasLineBreak(key) && key.find(L'=') == std::wstring_view::npos &&
           trimmedKey.front() != L';' && trimmedKey.front() != L'[' &&
           !(value && HasLineBreak(*value));
}

bool Store(const std::wstring& resolved, const IniDocument& doc) {
    Cache().Forget(resolved);
    return WriteFileBytes(resolved, Serialize(doc));
}

} // namespace

std::wstring IniGet(std::wstring_view file,
                    std::wstring_view section,
                    std::wstring_view key,
                    std::wstring_view defaultValue) {
    std::lock_guard lock(Cache().Mutex());
    const auto doc = Cache().Load(ResolvePath(file));
    if (doc) {
        const std::size_t header = FindSection(*doc, section);
        if (header != std::wstring::npos) {
            const std::size_t line = FindKey(*doc, header, key);
            if (line != std::wstring::npos) {
                return doc->lines[line].value;
            }
        }
    }
    return std::wstring(defaultValue);
}

bool IniSet(std::wstring_view file,
            std::wstring_view section,
            std::wstring_view key,
            std::optional<std::wstring_view> value) {
    if (file.empty() || !IsWritable(section, key, value)) {
        return false;
    }
    std::lock_guard lock(Cache().Mutex());
    const std::wstring resolved = ResolvePath(file);
    const auto loaded = Cache().Load(resolved);
    if (!loaded && PathExists(resolved)) {
        return false; // there but unreadable: do not replace it
    }
    IniDocument doc = loaded ? *loaded : IniDocument{};
    const std::size_t header = FindSection(doc, section);
    if (header == std::wstring::npos) {
        if (!value) {
            return true;
        }
        InsertLine(doc, doc.lines.size(), L"[" + std::wstring(section) + L"]");
        InsertLine(doc, doc.lines.size(), std::wstring(key) + L"=" + std::wstring(*value));
        return Store(resolved, doc);
    }
    const std::size_t line = FindKey(doc, header, key);
    if (line != std::wstring::npos) {
        if (value) {
            IniLine& target = doc.lines[line];
            const std::wstring text = target.keyPrefix + std::wstring(*value);
            target.bytes = Encode(doc, text);
            Classify(target, text);
        } else {
            doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(line));
        }
        return Store(resolved, doc);
    }
    if (!value) {
        return true;
    }
    // After the section's last key, so comments that lead into the next section stay there.
    std::size_t at = header + 1;
    const std::size_t end = SectionEnd(doc, header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (doc.lines[i].kind == IniLine::Kind::Key) {
            at = i + 1;
        }
    }
    InsertLine(doc, at, std::wstring(key) + L"=" + std::wstring(*value));
    return Store(resolved, doc);
}

bool IniRemoveSection(std::wstring_view file, std::wstring_view section) {
    std::lock_guard lock(Cache().Mutex());
    const std::wstring resolved = ResolvePath(file);
    const auto loaded = Cache().Load(resolved);
    if (!loaded) {
        return !PathExists(resolved);
    }
    const std::size_t header = FindSection(*loaded, section);
    if (header == std::wstring::npos) {
        return true;
    }
    IniDocument doc = *loaded;
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(header),
                    doc.lines.begin() + static_cast<std::ptrdiff_t>(SectionEnd(doc, header)));
    return Store(resolved, doc);
}

std::vector<std::wstring> IniSections(std::wstring_view file) {
    std::lock_guard lock(Cache().Mutex());
    std::vector<std::wstring> names;
    if (const auto doc = Cache().Load(ResolvePath(file))) {
        for (std::size_t i = 0; i < doc->lines.size(); ++i) {
            const IniLine& line = doc->lines[i];
            // A repeated section is listed once, under its first spelling.
            if (line.kind == IniLine::Kind::Section && FindSection(*doc, line.name) == i) {
                names.push_back(line.name);
            }
        }
    }
    return names;
}

std::vector<std::wstring> IniKeys(std::wstring_view file, std::wstring_view section) {
    std::lock_guard lock(Cache().Mutex());
    std::vector<std::wstring> keys;
    const auto doc = Cache().Load(ResolvePath(file));
    if (!doc) {
        return keys;
    }
    const std::size_t header = FindSection(*doc, section);
    if (header == std::wstring::npos) {
        return keys;
    }
    const std::size_t end = SectionEnd(*doc, header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const IniLine& line = doc->lines[i];
        if (line.kind == IniLine::Kind::Key && FindKey(*doc, header, line.name) == i) {
            keys.push_back(line.name);
        }
    }
    return keys;
}

} // namespace plat
