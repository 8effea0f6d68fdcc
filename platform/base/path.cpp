#include "platform/base/path.h"

#include "platform/base/nocase.h"
#include "platform/base/text.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace fs = std::filesystem;

namespace {

// Whole-file reads beyond this are refused: no file the system reads is anywhere near it.
constexpr off_t kMaxFileSize = off_t{1} << 30;

bool IsSeparator(wchar_t c) {
    return c == L'/' || c == L'\\';
}

std::wstring Append(const std::wstring& dir, std::wstring_view name) {
    if (dir.empty()) {
        return std::wstring(name);
    }
    std::wstring out = dir;
    if (out.back() != L'/') {
        out += L'/';
    }
    out += name;
    return out;
}

bool EntryExists(const std::wstring& path) {
    std::error_code ec;
    // lstat: a link counts as present even when its target is not.
    return fs::exists(fs::symlink_status(ToFsPath(path), ec));
}

// The entry of `dir` whose name equals `name` without case. Several can match on a
// case-sensitive file system; the smallest name wins so the choice does not depend on
// directory order.
std::optional<std::wstring> FindEntryNoCase(const std::wstring& dir, std::wstring_view name) {
    std::error_code ec;
    fs::directory_iterator it(dir.empty() ? fs::path(".") : ToFsPath(dir), ec);
    std::optional<std::wstring> best;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::wstring entry = FromFsPath(it->path().filename());
        if (EqualsNoCase(entry, name) && (!best || entry < *best)) {
            best = std::move(entry);
        }
    }
    return best;
}

bool StatResolved(std::wstring_view path, struct stat& st) {
    const fs::path p = ToFsPath(ResolvePath(path));
    return ::stat(p.c_str(), &st) == 0;
}

} // namespace

std::wstring NormalizeSeparators(std::wstring_view path) {
    std::wstring out;
    out.reserve(path.size());
    for (const wchar_t c : path) {
        if (!IsSeparator(c)) {
            out += c;
        } else if (out.empty() || out.back() != L'/') {
            out += L'/';
        }
    }
    if (out.size() > 1 && out.back() == L'/') {
        out.pop_back();
    }
    return out;
}

fs::path ToFsPath(std::wstring_view path) {
    return fs::path(ToUtf8(NormalizeSeparators(path)));
}

std::wstring FromFsPath(const fs::path& path) {
    return FromUtf8(path.native());
}

std::wstring ResolvePath(std::wstring_view path) {
    const std::wstring normalized = NormalizeSeparators(path);
    if (normalized.empty() || EntryExists(normalized)) {
        return normalized;
    }
    std::wstring resolved = normalized[0] == L'/' ? L"/" : L"";
    std::size_t pos = resolved.size();
    while (pos < normalized.size()) {
        std::size_t end = normalized.find(L'/', pos);
        if (end == std::wstring::npos) {
            end = normalized.size();
        }
        const std::wstring_view component = std::wstring_view(normalized).substr(pos, end - pos);
        std::wstring exact = Append(resolved, component);
        if (EntryExists(exact)) {
            resolved = std::move(exact);
        } else if (auto match = FindEntryNoCase(resolved, component)) {
            resolved = Append(resolved, *match);
        } else {
            // The rest does not exist yet (a file about to be written): keep it as given
            // under the folders that were found.
            return Append(resolved, std::wstring_view(normalized).substr(pos));
        }
        pos = end + 1;
    }
    return resolved;
}

bool PathExists(std::wstring_view path) {
    return EntryExists(ResolvePath(path));
}

bool IsDirectory(std::wstring_view path) {
    struct stat st {};
    return StatResolved(path, st) && S_ISDIR(st.st_mode);
}

bool IsRegularFile(std::wstring_view path) {
    struct stat st {};
    return StatResolved(path, st) && S_ISREG(st.st_mode);
}

bool IsAbsolutePath(std::wstring_view path) {
    return !path.empty() && IsSeparator(path[0]);
}

std::wstring JoinPath(std::wstring_view dir, std::wstring_view name) {
    if (dir.empty() || IsAbsolutePath(name)) {
        return NormalizeSeparators(name);
    }
    if (name.empty()) {
        return NormalizeSeparators(dir);
    }
    return NormalizeSeparators(std::wstring(dir) + L'/' + std::wstring(name));
}

std::wstring ParentPath(std::wstring_view path) {
    const std::wstring normalized = NormalizeSeparators(path);
    const std::size_t slash = normalized.rfind(L'/');
    if (slash == std::wstring::npos) {
        return {};
    }
    return slash == 0 ? L"/" : normalized.substr(0, slash);
}

std::wstring FileNameOf(std::wstring_view path) {
    const std::wstring normalized = NormalizeSeparators(path);
    const std::size_t slash = normalized.rfind(L'/');
    return slash == std::wstring::npos ? normalized : normalized.substr(slash + 1);
}

std::wstring ExtensionOf(std::wstring_view path) {
    const std::wstring name = FileNameOf(path);
    const std::size_t dot = name.rfind(L'.');
    // A leading dot names a hidden file, not an extension.
    if (dot == std::wstring::npos || dot == 0 || name == L"..") {
        return {};
    }
    return name.substr(dot);
}

bool CreateDirectories(std::wstring_view path) {
    const fs::path p = ToFsPath(ResolvePath(path));
    std::error_code ec;
    fs::create_directories(p, ec);
    return fs::is_directory(p, ec);
}

std::wstring CurrentDirectory() {
    std::error_code ec;
    const fs::path p = fs::current_path(ec);
    return ec ? std::wstring() : FromFsPath(p);
}

std::wstring ExecutablePath() {
    std::error_code ec;
    const fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::wstring() : FromFsPath(p);
}

std::wstring ExecutableDirectory() {
    const std::wstring exe = ExecutablePath();
    return exe.empty() ? exe : ParentPath(exe);
}

bool ReadFileBytes(std::wstring_view path, std::string& out) {
    const fs::path p = ToFsPath(ResolvePath(path));
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxFileSize;
    std::string bytes;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        // The size can change while reading; take what is there up to the size seen.
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        bytes.resize(done);
    }
    ::close(fd);
    if (ok) {
        out = std::move(bytes);
    }
    return ok;
}

bool WriteFileBytes(std::wstring_view path, std::string_view bytes) {
    const fs::path p = ToFsPath(ResolvePath(path));
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    bool ok = true;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0 && ok;
}

} // namespace plat
