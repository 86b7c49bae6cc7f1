// Windows-style profile files (SALTMERE.INI): sections, keys and values read and written
// with the semantics of GetPrivateProfileString, GetPrivateProfileInt and
// WritePrivateProfileString, so the file stays interchangeable with the suite's Windows
// programs and with whatever an administrator edits by hand.
//
// The file is read again at every call (other programs change it while we run); there is
// no cache to go stale. Text is kept as bytes, Windows-1252 or UTF-8 alike; nothing is
// converted. Lines end in CR LF or LF; a rewrite keeps each line's ending, and lines we add
// take the file's ending (CR LF for a new file, as Windows writes it).
//
// Reading rules:
//  - `[name]` starts a section (blanks around the name ignored; the name ends at the last
//    ']' of the line). A '[' without a ']' does not start one.
//  - `key=value` inside a section; blanks around key and value ignored; the value runs to
//    the end of the line (a ';' in it stays in it, as on Windows). One pair of matching
//    double or single quotes around the value is removed; blanks inside them are kept.
//  - Lines starting with ';' are comments. Lines without '=' are ignored. Keys before the
//    first section belong to no section and are never found.
//  - Section and key names compare without regard to case, for ASCII and the Latin
//    letters of Windows-1252 and of UTF-8 (Latin-1 and Latin Extended-A).
//  - With duplicates the first section, and the first key in it, is the one read and
//    the one written.
//  - Only the first MiB of a file is read; a larger file is never rewritten.
//
// Writes replace the file as a whole: the new text goes to a temporary file in the same
// folder, which is flushed and renamed over the profile, so a reader sees the old file or
// the new one and never half of it. The profile's permissions are kept. Writers of this
// module serialize on a lock of the folder, so two of them do not lose each other's
// change. Writing needs a writable folder, and a profile that is not read-only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lib {

// Where the workstation's profile files live: CONFIGURA_WINDIR when set, else
// $XDG_CONFIG_HOME, else ~/.config.
std::string profileFolder();
// A profile file name without a folder resolves into profileFolder(); a name with a
// folder is used as given.
std::string profilePath(const std::string& fileName);

class ProfileFile {
 public:
  explicit ProfileFile(std::string path);  // nothing is read yet

  // The value, or `def` (without its trailing blanks, as Windows returns it) when the
  // file, the section or the key is missing. A key with an empty value gives "".
  std::string getString(std::string_view section, std::string_view key, std::string_view def = "") const;
  // The leading decimal number of the value (optional sign; saturates at the int range).
  // `def` when the key is missing or its value is empty; 0 when the value does not start
  // with a number.
  int getInt(std::string_view section, std::string_view key, int def = 0) const;
  // Section names in file order, each once (the first spelling).
  std::vector<std::string> sections() const;
  // The keys of the section in file order, each once (the first spelling).
  std::vector<std::string> keys(std::string_view section) const;

  // Sets the value, creating the file, the section (at the end) or the key (after the
  // section's last entry) as needed. An existing key keeps its spelling and its place;
  // every other line of the file stays as it was. Returns false when the file cannot be
  // written, and for names or values that would not read back as written: a CR, LF or NUL
  // anywhere, an empty key, or a key with '=' or starting with ';' or '['.
  bool writeString(std::string_view section, std::string_view key, std::string_view value);
  // Removes the key's lines from the section. True when the key is gone, also when it was
  // never there (the file is then not touched).
  bool deleteKey(std::string_view section, std::string_view key);
  // Removes the section: its header and every line up to the next section, for every
  // section of that name, so none shows through afterwards.
  bool deleteSection(std::string_view section);

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace lib
