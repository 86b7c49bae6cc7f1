// Self-contained (only the standard library and POSIX): the fuzz target compiles this file
// directly, without the rest of lib.
#include "lib/profile_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <functional>
#include <optional>
#include <thread>
#include <unordered_set>
#include <utility>

namespace lib {

namespace {

// Profiles are a few KiB; anything bigger is not one we wrote, and reading stops here.
constexpr size_t kMaxProfileBytes = size_t{1} << 20;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr size_t kNone = static_cast<size_t>(-1);

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string_view trimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && isBlank(s[e - 1])) --e;
  return s.substr(0, e);
}

// ---- Case folding -------------------------------------------------------------------------
// A name that is well-formed UTF-8 folds as UTF-8, any other as Windows-1252. Both spellings
// of a name in one encoding then compare equal; bytes are never reinterpreted across them.

// Length of the well-formed UTF-8 sequence at s[i] (its code point in `cp`), 0 if none.
size_t utf8SequenceAt(std::string_view s, size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  // C0, C1 and F5..FF never start a sequence; the minimum rules out overlong forms.
  size_t n;
  char32_t least;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
    cp = b0 & 0x1F;
    least = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    cp = b0 & 0x0F;
    least = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    cp = b0 & 0x07;
    least = 0x10000;
  } else {
    return 0;
  }
  if (s.size() - i < n) return 0;
  for (size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

// Lower case of ASCII, Latin-1 and Latin Extended-A letters.
char32_t foldCodePoint(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x130 || c == 0x131) return c;  // dotted/dotless i do not pair with each other
  if (c >= 0x100 && c <= 0x137) return c | 1;
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? c + 1 : c;
  if (c >= 0x14A && c <= 0x177) return c | 1;
  if (c == 0x178) return 0xFF;
  if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c + 1 : c;
  return c;
}

unsigned char fold1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  switch (c) {
    case 0x8A:
      return 0x9A;  // Š
    case 0x8C:
      return 0x9C;  // Œ
    case 0x8E:
      return 0x9E;  // Ž
    case 0x9F:
      return 0xFF;  // Ÿ
    default:
      return c;
  }
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string foldCase(std::string_view s) {
  bool utf8 = true;
  char32_t cp;
  for (size_t i = 0; i < s.size();) {
    const size_t n = utf8SequenceAt(s, i, cp);
    if (n == 0) {
      utf8 = false;
      break;
    }
    i += n;
  }
  std::string out;
  out.reserve(s.size());
  if (utf8) {
    for (size_t i = 0; i < s.size();) {
      i += utf8SequenceAt(s, i, cp);
      appendUtf8(out, foldCodePoint(cp));
    }
  } else {
    for (char c : s) out += static_cast<char>(fold1252(static_cast<unsigned char>(c)));
  }
  return out;
}

// Whether `name` folds to `folded`, without building its folded copy in the usual ASCII case.
bool foldsTo(std::string_view name, const std::string& folded) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) >= 0x80) return foldCase(name) == folded;
  }
  if (name.size() != folded.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c) != folded[i]) return false;
  }
  return true;
}

// ---- Parsing ------------------------------------------------------------------------------

enum class LineKind { kBlank, kComment, kSection, kEntry, kOther };

struct Line {
  size_t offset = 0;        // where the text starts in the file
  std::string_view text;    // without the line ending
  std::string_view ending;  // "\r\n", "\n", or "" for a last line without one
  LineKind kind = LineKind::kOther;
  std::string_view name;   // section name or key, trimmed
  std::string_view value;  // trimmed; quotes still on
  size_t equals = 0;       // in text: the '='
  size_t valueStart = 0;   // in text: past the '=' and the blanks after it
};

// A view of the file's bytes; the caller keeps them alive.
struct Profile {
  std::string_view bytes;
  std::vector<Line> lines;
  std::string_view eol = "\r\n";  // for the lines we add: the file's own, CR LF for a new file
};

void classify(Line& line) {
  const std::string_view t = trim(line.text);
  if (t.empty()) {
    line.kind = LineKind::kBlank;
    return;
  }
  if (t.front() == ';') {
    line.kind = LineKind::kComment;
    return;
  }
  if (t.front() == '[') {
    // The last ']' so that a name we wrote with a ']' in it reads back.
    const size_t close = t.rfind(']');
    if (close != std::string_view::npos) {
      line.kind = LineKind::kSection;
      line.name = trim(t.substr(1, close - 1));
      return;
    }
  }
  const size_t eq = line.text.find('=');
  if (eq != std::string_view::npos) {
    const std::string_view key = trim(line.text.substr(0, eq));
    if (!key.empty()) {
      size_t v = eq + 1;
      while (v < line.text.size() && isBlank(line.text[v])) ++v;
      line.kind = LineKind::kEntry;
      line.name = key;
      line.value = trim(line.text.substr(eq + 1));
      line.equals = eq;
      line.valueStart = v;
      return;
    }
  }
  line.kind = LineKind::kOther;
}

Profile parse(std::string_view bytes) {
  Profile p;
  p.bytes = bytes;
  bool eolSeen = false;
  // A UTF-8 signature (editors add it) does not belong to the first line; it stays in the file.
  size_t pos = bytes.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  while (pos < bytes.size()) {
    Line line;
    line.offset = pos;
    const size_t nl = bytes.find('\n', pos);
    if (nl == std::string_view::npos) {
      line.text = bytes.substr(pos);
      pos = bytes.size();
    } else {
      size_t end = nl;
      if (end > pos && bytes[end - 1] == '\r') --end;
      line.text = bytes.substr(pos, end - pos);
      line.ending = bytes.substr(end, nl + 1 - end);
      if (!eolSeen) {
        p.eol = line.ending;
        eolSeen = true;
      }
      pos = nl + 1;
    }
    classify(line);
    p.lines.push_back(line);
  }
  return p;
}

struct SectionRange {
  size_t header;  // the [name] line
  size_t end;     // one past the last line of the section
};

std::optional<SectionRange> findSection(const Profile& p, const std::string& folded, size_t from = 0) {
  for (size_t i = from; i < p.lines.size(); ++i) {
    if (p.lines[i].kind != LineKind::kSection || !foldsTo(p.lines[i].name, folded)) continue;
    size_t end = i + 1;
    while (end < p.lines.size() && p.lines[end].kind != LineKind::kSection) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

size_t findEntry(const Profile& p, SectionRange range, const std::string& folded) {
  for (size_t i = range.header + 1; i < range.end; ++i) {
    if (p.lines[i].kind == LineKind::kEntry && foldsTo(p.lines[i].name, folded)) return i;
  }
  return kNone;
}

std::string_view unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

// ---- Files --------------------------------------------------------------------------------

enum class ReadResult { kRead, kMissing, kTooLarge, kFailed };

// The file's bytes, at most kMaxProfileBytes of them (kTooLarge when there were more).
// Only regular files: a FIFO or device under the profile's name must not block or flood us.
ReadResult readProfile(const std::string& path, std::string& out, struct stat* info = nullptr) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return (errno == ENOENT || errno == ENOTDIR) ? ReadResult::kMissing : ReadResult::kFailed;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return ReadResult::kFailed;
  }
  if (info) *info = st;
  ReadResult result = ReadResult::kRead;
  char chunk[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      result = ReadResult::kFailed;
      break;
    }
    if (n == 0) break;
    out.append(chunk, static_cast<size_t>(n));
    if (out.size() > kMaxProfileBytes) {
      out.resize(kMaxProfileBytes);
      result = ReadResult::kTooLarge;
      break;
    }
  }
  ::close(fd);
  return result;
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Writing through a symbolic link replaces the file it points to, not the link.
std::string resolveLink(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string resolved = real;
  std::free(real);
  return resolved;
}

// Serializes the writers of this module on one folder, across threads and processes (each
// lock is its own open file description). Best effort: a folder that cannot be locked, or
// a holder that does not let go within two seconds, does not stop the write.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder) : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0) return;
    for (int attempt = 0; attempt < 200; ++attempt) {
      if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
      if (errno != EWOULDBLOCK && errno != EINTR) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // releases the lock
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  int fd() const { return fd_; }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Writes `bytes` to a new file beside `target` and renames it over `target`: readers see
// the old file or the new one, whole. `old` is the replaced file's status, null when new.
bool replaceFile(const std::string& target, std::string_view bytes, const struct stat* old, int folderFd) {
  static std::atomic<unsigned> counter{0};
  const std::string folder = folderOf(target);
  const std::string base = target.substr(target.rfind('/') + 1);
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder + "/." + base + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
    // 0666 under the umask: a new profile gets the mode any new file gets.
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  bool ok = writeAll(fd, bytes);
  if (ok && old) {
    if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
      if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
        // Only a privileged writer can give the file back to its owner; the mode still matters.
      }
    }
    ok = ::fchmod(fd, old->st_mode & 07777) == 0;
  }
  ok = ok && ::fsync(fd) == 0;  // the data must be on disk before the name points at it
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  if (folderFd >= 0) ::fsync(folderFd);  // and the rename itself survives a power cut
  return true;
}

// Computes the new contents from the current ones (nullopt: nothing to change).
using Edit = std::function<std::optional<std::string>(const Profile&)>;

// Read, edit and replace the profile as one step among this module's writers.
bool modifyProfile(const std::string& path, bool createWhenMissing, const Edit& edit) {
  const std::string target = resolveLink(path);
  FolderLock lock(folderOf(target));
  std::string bytes;
  struct stat st {};
  const ReadResult read = readProfile(target, bytes, &st);
  // Rewriting what we could not read whole would lose the rest of it.
  if (read == ReadResult::kFailed || read == ReadResult::kTooLarge) return false;
  const bool exists = read == ReadResult::kRead;
  if (!exists && !createWhenMissing) return true;
  // A read-only profile stays as it is, as on Windows (even for a privileged writer).
  if (exists && ((st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)) {
    return false;
  }
  const Profile profile = parse(bytes);
  const std::optional<std::string> updated = edit(profile);
  if (!updated || (exists && *updated == bytes)) return true;
  return replaceFile(target, *updated, exists ? &st : nullptr, lock.fd());
}

// The file without the marked lines.
std::string withoutLines(const Profile& p, const std::vector<bool>& drop) {
  std::string out;
  out.reserve(p.bytes.size());
  out.append(p.bytes.substr(0, p.lines.empty() ? p.bytes.size() : p.lines.front().offset));
  for (size_t i = 0; i < p.lines.size(); ++i) {
    if (drop[i]) continue;
    out.append(p.lines[i].text);
    out.append(p.lines[i].ending);
  }
  return out;
}

bool hasByte(std::string_view s, std::string_view bytes) {
  return s.find_first_of(bytes) != std::string_view::npos;
}

// Text that could not be read back as written: it would end the line, or end the string
// for the suite's C programs.
bool breaksLine(std::string_view s) {
  return hasByte(s, std::string_view("\r\n\0", 3));
}

}  // namespace

std::string profileFolder() {
  if (const char* windir = std::getenv("CONFIGURA_WINDIR"); windir && *windir) return windir;
  // XDG: a relative XDG_CONFIG_HOME is to be ignored.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return xdg;
  std::string home;
  if (const char* h = std::getenv("HOME"); h && *h) {
    home = h;
  } else {
    struct passwd pw;
    struct passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &pw, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir) {
      home = found->pw_dir;
    }
  }
  if (home.empty()) home = ".";
  if (home.size() > 1 && home.back() == '/') home.pop_back();
  return home + "/.config";
}

std::string profilePath(const std::string& fileName) {
  if (fileName.find('/') != std::string::npos) return fileName;
  std::string folder = profileFolder();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder + fileName;
}

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

std::string ProfileFile::getString(std::string_view section, std::string_view key, std::string_view def) const {
  std::string bytes;
  const ReadResult read = readProfile(path_, bytes);
  if (read == ReadResult::kRead || read == ReadResult::kTooLarge) {
    const Profile p = parse(bytes);
    if (const auto range = findSection(p, foldCase(trim(section)))) {
      const size_t i = findEntry(p, *range, foldCase(trim(key)));
      if (i != kNone) return std::string(unquote(p.lines[i].value));
    }
  }
  return std::string(trimRight(def));
}

int ProfileFile::getInt(std::string_view section, std::string_view key, int def) const {
  // A sentinel no value can hold (values never contain a line feed) tells "missing" apart.
  const std::string missing = "\n";
  const std::string text = getString(section, key, missing);
  if (text == missing) return def;
  std::string_view s = text;
  size_t i = 0;
  while (i < s.size() && isBlank(s[i])) ++i;
  if (i == s.size()) return def;
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') negative = s[i++] == '-';
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  long long n = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) n = std::min(limit, n * 10 + (s[i] - '0'));
  return static_cast<int>(negative ? -n : n);
}

std::vector<std::string> ProfileFile::sections() const {
  std::string bytes;
  std::vector<std::string> names;
  const ReadResult read = readProfile(path_, bytes);
  if (read != ReadResult::kRead && read != ReadResult::kTooLarge) return names;
  const Profile p = parse(bytes);
  std::unordered_set<std::string> seen;
  for (const Line& line : p.lines) {
    if (line.kind == LineKind::kSection && seen.insert(foldCase(line.name)).second) names.emplace_back(line.name);
  }
  return names;
}

std::vector<std::string> ProfileFile::keys(std::string_view section) const {
  std::string bytes;
  std::vector<std::string> names;
  const ReadResult read = readProfile(path_, bytes);
  if (read != ReadResult::kRead && read != ReadResult::kTooLarge) return names;
  const Profile p = parse(bytes);
  const auto range = findSection(p, foldCase(trim(section)));
  if (!range) return names;
  std::unordered_set<std::string> seen;
  for (size_t i = range->header + 1; i < range->end; ++i) {
    const Line& line = p.lines[i];
    if (line.kind == LineKind::kEntry && seen.insert(foldCase(line.name)).second) names.emplace_back(line.name);
  }
  return names;
}

bool ProfileFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view sectionName = trim(section);
  const std::string_view keyName = trim(key);
  if (breaksLine(sectionName) || breaksLine(keyName) || breaksLine(value)) return false;
  // Such a key would read back as another key, a comment or a section.
  if (keyName.empty() || keyName.find('=') != std::string_view::npos || keyName.front() == ';' ||
      keyName.front() == '[') {
    return false;
  }
  auto entry = [&](std::string_view eol) {
    std::string line(keyName);
    line += '=';
    line += value;
    line += eol;
    return line;
  };
  return modifyProfile(path_, true, [&](const Profile& p) -> std::optional<std::string> {
    const auto range = findSection(p, foldCase(sectionName));
    if (!range) {
      // A new section goes at the end of the file.
      std::string out(p.bytes);
      if (!p.lines.empty() && p.lines.back().ending.empty()) out += p.eol;
      out += '[';
      out += sectionName;
      out += ']';
      out += p.eol;
      out += entry(p.eol);
      return out;
    }
    const size_t i = findEntry(p, *range, foldCase(keyName));
    if (i != kNone) {
      // Only the value changes; the key's spelling and spacing stay.
      const Line& line = p.lines[i];
      // A value of blanks only is replaced whole: its blanks are the value, not spacing.
      const size_t keep = line.offset + (value.empty() || line.value.empty() ? line.equals + 1 : line.valueStart);
      std::string out(p.bytes.substr(0, keep));
      out += value;
      out += p.bytes.substr(line.offset + line.text.size());
      return out;
    }
    // A new key goes after the section's last entry, before the blank lines and comments
    // that separate it from the next section.
    size_t after = range->header;
    for (size_t j = range->header + 1; j < range->end; ++j) {
      if (p.lines[j].kind == LineKind::kEntry || p.lines[j].kind == LineKind::kOther) after = j;
    }
    const Line& prev = p.lines[after];
    const size_t cut = prev.offset + prev.text.size() + prev.ending.size();
    std::string out(p.bytes.substr(0, cut));
    if (prev.ending.empty()) out += p.eol;
    out += entry(p.eol);
    out += p.bytes.substr(cut);
    return out;
  });
}

bool ProfileFile::deleteKey(std::string_view section, std::string_view key) {
  const std::string foldedSection = foldCase(trim(section));
  const std::string foldedKey = foldCase(trim(key));
  return modifyProfile(path_, false, [&](const Profile& p) -> std::optional<std::string> {
    const auto range = findSection(p, foldedSection);
    if (!range) return std::nullopt;
    // Every line of the key, so that no later duplicate shows through.
    std::vector<bool> drop(p.lines.size(), false);
    bool found = false;
    for (size_t i = range->header + 1; i < range->end; ++i) {
      if (p.lines[i].kind == LineKind::kEntry && foldsTo(p.lines[i].name, foldedKey)) drop[i] = found = true;
    }
    if (!found) return std::nullopt;
    return withoutLines(p, drop);
  });
}

bool ProfileFile::deleteSection(std::string_view section) {
  const std::string folded = foldCase(trim(section));
  return modifyProfile(path_, false, [&](const Profile& p) -> std::optional<std::string> {
    std::vector<bool> drop(p.lines.size(), false);
    bool found = false;
    for (auto range = findSection(p, folded); range; range = findSection(p, folded, range->end)) {
      for (size_t i = range->header; i < range->end; ++i) drop[i] = true;
      found = true;
    }
    if (!found) return std::nullopt;
    return withoutLines(p, drop);
  });
}

}  // namespace lib
