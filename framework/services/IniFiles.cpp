#include "framework/services/IniFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "framework/core/Chars.h"
#include "framework/core/Exception.h"

namespace hx {

// ---------------------------------------------------------------------------------------
// Integer rule

bool TryStrToInt(std::string_view text, int& value)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';

    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size())
        return false;  // no digits at all

    // Decimal: the magnitude may reach 2^31 only for a negative number. Hexadecimal: any
    // 32-bit pattern.
    const std::uint64_t limit = hex ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    const unsigned base = hex ? 16 : 10;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0)
            return false;
        magnitude = magnitude * base + static_cast<unsigned>(digit);
        if (magnitude > limit)
            return false;
    }
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative)
        bits = 0u - bits;
    value = static_cast<int>(bits);
    return true;
}

// ---------------------------------------------------------------------------------------
// Parsing

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// One line of the file: its text [Begin, End) without the line break, and where the next
// line starts (after "\n" or "\r\n"; the file's end for a last line without a break).
struct TLine {
    std::size_t Begin = 0;
    std::size_t End = 0;
    std::size_t Next = 0;
};

enum class TLineKind { Blank, Section, Entry };

struct TParsedLine {
    TLineKind Kind = TLineKind::Blank;
    std::string_view Name;   // section name or key, trimmed
    std::string_view Value;  // entry value, trimmed (quotes still on)
};

std::vector<TLine> SplitLines(const std::string& text)
{
    std::vector<TLine> lines;
    std::size_t pos = 0;
    // The byte order mark belongs to no line: it stays in the file but is never parsed.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        pos = 3;
    while (pos < text.size()) {
        const std::size_t newline = text.find('\n', pos);
        TLine line;
        line.Begin = pos;
        if (newline == std::string::npos) {
            line.Next = text.size();
            line.End = text.back() == '\r' ? text.size() - 1 : text.size();
        } else {
            line.End = (newline > pos && text[newline - 1] == '\r') ? newline - 1 : newline;
            line.Next = newline + 1;
        }
        lines.push_back(line);
        pos = line.Next;
    }
    return lines;
}

TParsedLine ParseLine(std::string_view line)
{
    TParsedLine parsed;
    const std::string_view body = Trim(line);
    if (body.empty())
        return parsed;
    if (body.front() == '[') {
        const std::size_t close = body.find(']');
        if (close != std::string_view::npos) {
            parsed.Kind = TLineKind::Section;
            parsed.Name = Trim(body.substr(1, close - 1));
            return parsed;
        }
    }
    parsed.Kind = TLineKind::Entry;
    const std::size_t equals = body.find('=');
    if (equals == std::string_view::npos) {
        parsed.Name = body;  // a key without a value
        return parsed;
    }
    parsed.Name = Trim(body.substr(0, equals));
    parsed.Value = Trim(body.substr(equals + 1));
    return parsed;
}

// What completes the file's last line before a line is added after it: nothing when it
// ends in LF, the LF of a CR LF pair when it ends in CR (that CR already ends the line),
// else the file's line break.
std::string MissingBreak(const std::string& text, const std::string& eol)
{
    if (text.empty() || text.back() == '\n')
        return {};
    return text.back() == '\r' ? "\n" : eol;
}

std::string_view LineText(const std::string& text, const TLine& line)
{
    return std::string_view(text).substr(line.Begin, line.End - line.Begin);
}

// Where a key lives: the first section of that name (its header line and the index one
// past its last line) and the key's first line in it.
struct TLocation {
    std::optional<std::size_t> Section;
    std::size_t SectionEnd = 0;
    std::optional<std::size_t> Key;
};

TLocation Locate(const std::string& text, const std::vector<TLine>& lines,
                 std::string_view section, std::string_view key)
{
    TLocation where;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TParsedLine parsed = ParseLine(LineText(text, lines[i]));
        if (parsed.Kind == TLineKind::Section) {
            if (where.Section) {
                where.SectionEnd = i;
                return where;
            }
            if (SameName(parsed.Name, section))
                where.Section = i;
        } else if (parsed.Kind == TLineKind::Entry && where.Section && !where.Key &&
                   SameName(parsed.Name, key)) {
            where.Key = i;
        }
    }
    where.SectionEnd = lines.size();
    return where;
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// ---------------------------------------------------------------------------------------
// File access

// Appends up to `limit` bytes of fd to text, which grows with what is read, so that a small
// file costs a small string. False on a read error. Plain descriptors rather than stdio:
// every lookup reads the file, and a stream adds a buffer and a stat each time.
bool AppendFrom(int fd, std::string& text, std::size_t limit)
{
    char buffer[65536];
    while (text.size() < limit) {
        const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, limit - text.size()));
        if (got == 0)
            return true;
        if (got < 0 && errno != EINTR)
            return false;
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

// The first `limit` bytes of the file, cut back to the last whole line when the file goes
// on beyond them. Nullopt when it cannot be read.
std::optional<std::string> ReadHead(const std::string& path, std::size_t limit)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    const bool ok = AppendFrom(fd, text, limit + 1);
    ::close(fd);
    if (!ok)
        return std::nullopt;
    if (text.size() > limit) {
        const std::size_t lastBreak = text.rfind('\n', limit - 1);
        text.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
    }
    return text;
}

// The whole file; "" for a missing one; nullopt when it exists but cannot be read.
std::optional<std::string> ReadWhole(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? std::optional<std::string>(std::string()) : std::nullopt;
    std::string text;
    const bool ok = AppendFrom(fd, text, std::string().max_size());
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return text;
}

bool WriteAll(int fd, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// What a newly created file gets: the process's umask can only be read by setting it, so
// it is set and put straight back (the GUI runs on one thread).
mode_t DefaultFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool FolderRefusesWrites(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// Opens an anonymous file in the folder (it gets a name only just before the rename, so a
// writer killed while writing leaves nothing behind); where the file system cannot, a
// named temporary file. Returns -1 with errno set on failure; tempName is set for a named
// file.
int OpenTemporary(int folder, const std::string& folderPath, const std::string& base, std::string& tempName)
{
    const int fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0 || FolderRefusesWrites(errno))
        return fd;
    std::string pattern = folderPath + "/." + base + ".XXXXXX";
    const int named = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (named >= 0)
        tempName = pattern.substr(folderPath.size() + 1);
    return named;
}

// Gives an anonymous file a temporary name in the folder so that it can be renamed.
bool NameTemporary(int fd, int folder, const std::string& base, std::string& tempName)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = "." + base + "." + std::to_string(::getpid()) + "." + std::to_string(attempt);
        if (::linkat(AT_FDCWD, self.c_str(), folder, tempName.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    tempName.clear();
    return false;
}

// Writes data to a new file beside target and renames it over target. Sets folderRefused
// when the folder does not let us create a file.
bool ReplaceAtomically(const std::string& target, const std::string& data, mode_t mode,
                       const struct stat* old, bool& folderRefused)
{
    namespace fs = std::filesystem;
    const fs::path targetPath(target);
    const std::string folderPath = targetPath.has_parent_path() ? targetPath.parent_path().string() : ".";
    const std::string base = targetPath.filename().string();

    const int folder = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        folderRefused = FolderRefusesWrites(errno);
        return false;
    }
    std::string tempName;
    const int fd = OpenTemporary(folder, folderPath, base, tempName);
    if (fd < 0) {
        folderRefused = FolderRefusesWrites(errno);
        ::close(folder);
        return false;
    }
    bool ok = WriteAll(fd, data) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    if (ok && old && ::geteuid() == 0) {
        // Root rewriting someone's settings must not take the file over.
        [[maybe_unused]] const int ignored = ::fchown(fd, old->st_uid, old->st_gid);
    }
    if (ok && tempName.empty())
        ok = NameTemporary(fd, folder, base, tempName);
    ok = ::close(fd) == 0 && ok;
    if (ok)
        ok = ::renameat(folder, tempName.c_str(), folder, base.c_str()) == 0;
    if (!ok && !tempName.empty())
        ::unlinkat(folder, tempName.c_str(), 0);
    if (ok)
        ::fsync(folder);  // make the rename itself durable; nothing to do if it fails
    ::close(folder);
    return ok;
}

// The fallback for a read-only folder: overwrite the file's bytes, then cut it to size.
bool RewriteInPlace(const std::string& target, const std::string& data)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, data) && ::ftruncate(fd, static_cast<off_t>(data.size())) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok;
}

// The file a path stands for: symbolic links followed to the file they name, whether or
// not that file exists yet (a relative link counts from the link's own folder). Nullopt for
// a chain of links that never ends.
std::optional<std::string> FollowLinks(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path target(path);
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(target, error))
            return target.string();
        const fs::path next = fs::read_symlink(target, error);
        if (error)
            return std::nullopt;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return std::nullopt;
}

bool ReplaceFile(const std::string& path, const std::string& data)
{
    // Write through a symbolic link to the file it names, rather than replacing the link,
    // also when that file is not there yet (the first write creates it).
    const std::optional<std::string> resolved = FollowLinks(path);
    if (!resolved)
        return false;
    const std::string& target = *resolved;
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return false;
    // A file the user made read-only stays unwritten, even though the folder would let us
    // replace it.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return false;
    const mode_t mode = exists ? (old.st_mode & 07777) : DefaultFileMode();
    bool folderRefused = false;
    if (ReplaceAtomically(target, data, mode, exists ? &old : nullptr, folderRefused))
        return true;
    return folderRefused && exists && RewriteInPlace(target, data);
}

} // namespace

// ---------------------------------------------------------------------------------------
// TIniFile

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const
{
    const std::optional<std::string> text = ReadHead(FFileName, kReadLimit);
    if (!text)
        return defaultValue;
    const std::vector<TLine> lines = SplitLines(*text);
    const TLocation where = Locate(*text, lines, section, key);
    if (!where.Key)
        return defaultValue;
    const std::string_view value = Unquote(ParseLine(LineText(*text, lines[*where.Key])).Value);
    return std::string(value.substr(0, kMaxValueLength));
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    int value = 0;
    return TryStrToInt(ReadString(section, key, std::string()), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    const std::optional<std::string> old = ReadWhole(FFileName);
    if (!old)
        RaiseWriteError();
    std::string text = *old;
    const std::vector<TLine> lines = SplitLines(text);
    // New lines take the file's own line break (the first one in it); a new file gets LF.
    const std::size_t firstBreak = text.find('\n');
    const std::string eol = (firstBreak != std::string::npos && firstBreak > 0 && text[firstBreak - 1] == '\r')
                                ? "\r\n" : "\n";
    const TLocation where = Locate(text, lines, section, key);

    if (where.Key) {
        const TLine& line = lines[*where.Key];
        const std::string spelled(ParseLine(LineText(text, line)).Name);
        text.replace(line.Begin, line.End - line.Begin, spelled + "=" + value);
    } else if (where.Section) {
        // After the section's last non-blank line, so that blank lines separating it from
        // the next section stay where they are.
        std::size_t last = *where.Section;
        for (std::size_t i = *where.Section + 1; i < where.SectionEnd; ++i)
            if (ParseLine(LineText(text, lines[i])).Kind != TLineKind::Blank)
                last = i;
        std::string insert = key + "=" + value + eol;
        if (lines[last].Next == text.size())  // the file's last line, perhaps without a break
            insert = MissingBreak(text, eol) + insert;
        text.insert(lines[last].Next, insert);
    } else {
        text += MissingBreak(text, eol);
        text += "[" + section + "]" + eol + key + "=" + value + eol;
    }
    if (!ReplaceFile(FFileName, text))
        RaiseWriteError();
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::RaiseWriteError() const
{
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(FFileName, error);
    throw EIniFileException((error ? FFileName : full.string()) + " に書き込めません");
}

} // namespace hx
