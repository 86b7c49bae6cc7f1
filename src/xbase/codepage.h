// Single-byte code pages of DBF tables.
//
// A table's text is stored in the code page named by its language-driver byte; the engine
// converts between that page and UTF-8 at its API. Upper and lower casing work on the
// page's own bytes so that UPPER() in an index key gives what other xBase programs store.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace xbase {

class CodePage {
 public:
  // The page of a language-driver byte; unknown bytes (and 0) read as Windows-1252.
  static const CodePage& forLanguageDriver(uint8_t mark);
  static const CodePage& forNumber(int number);  // throws xbase::Error for unsupported pages
  static const CodePage& windows1252();

  int number() const { return number_; }
  uint8_t languageDriver() const { return mark_; }

  // ASCII reads the same in every page and in UTF-8: such text needs no conversion.
  static bool isAscii(std::string_view bytes) {
    for (char c : bytes)
      if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
  }

  std::string toUtf8(std::string_view bytes) const;
  // Characters the page cannot hold become '?'. Invalid UTF-8 bytes are taken as Latin-1.
  std::string fromUtf8(std::string_view utf8) const;

  unsigned char upper(unsigned char c) const { return upper_[c]; }
  unsigned char lower(unsigned char c) const { return lower_[c]; }
  void upperInPlace(std::string& bytes) const;
  void lowerInPlace(std::string& bytes) const;
  bool isAlpha(unsigned char c) const { return alpha_[c]; }

  CodePage(int number, uint8_t mark, const char16_t* upperHalf);

 private:
  int number_;
  uint8_t mark_;
  std::array<char32_t, 256> toUnicode_{};
  std::array<unsigned char, 256> upper_{};
  std::array<unsigned char, 256> lower_{};
  std::array<bool, 256> alpha_{};
  std::unordered_map<char32_t, unsigned char> fromUnicode_;  // upper half only
};

// Decodes one UTF-8 sequence at s[i], advancing i; malformed bytes come back as themselves.
char32_t decodeUtf8(std::string_view s, size_t& i);
void appendUtf8(std::string& out, char32_t cp);

}  // namespace xbase
