#include "xbase/codepage.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "xbase/codepage_tables.h"
#include "xbase/error.h"

namespace xbase {

namespace {

// Unicode case mapping for the letters single-byte Western and Central/Eastern European
// pages hold: Latin-1 Supplement, Latin Extended-A, Greek and Cyrillic basics.
char32_t unicodeUpper(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 0) ? c - 1 : c;
    if (c == 0x131) return 'I';
    return (c % 2 == 1) ? c - 1 : c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 32;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  return c;
}

char32_t unicodeLower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 1) ? c + 1 : c;
    if (c == 0x130) return 'i';
    return (c % 2 == 0) ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3A9) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

bool unicodeAlpha(char32_t c) {
  return unicodeUpper(c) != c || unicodeLower(c) != c;
}

struct PageDef {
  int number;
  uint8_t mark;
  const char16_t* table;
};

const PageDef kPages[] = {
    {1252, 0x03, codepage_tables::kCp1252}, {437, 0x01, codepage_tables::kCp437},
    {850, 0x02, codepage_tables::kCp850},   {852, 0x64, codepage_tables::kCp852},
    {866, 0x65, codepage_tables::kCp866},   {1250, 0xC8, codepage_tables::kCp1250},
    {1251, 0xC9, codepage_tables::kCp1251},
};

const CodePage& pageAt(size_t i) {
  static const std::vector<CodePage>* pages = [] {
    auto* v = new std::vector<CodePage>;
    for (const auto& p : kPages) v->emplace_back(p.number, p.mark, p.table);
    return v;
  }();
  return (*pages)[i];
}

}  // namespace

CodePage::CodePage(int number, uint8_t mark, const char16_t* upperHalf) : number_(number), mark_(mark) {
  for (int b = 0; b < 128; ++b) toUnicode_[b] = char32_t(b);
  for (int b = 0; b < 128; ++b) toUnicode_[128 + b] = upperHalf[b];
  for (int b = 255; b >= 128; --b)
    if (toUnicode_[b] != 0xFFFD) fromUnicode_[toUnicode_[b]] = static_cast<unsigned char>(b);
  auto back = fromUnicode_;
  for (int b = 0; b < 128; ++b) back[char32_t(b)] = static_cast<unsigned char>(b);
  for (int b = 0; b < 256; ++b) {
    char32_t u = toUnicode_[b];
    upper_[b] = lower_[b] = static_cast<unsigned char>(b);
    alpha_[b] = u != 0xFFFD && unicodeAlpha(u);
    if (u == 0xFFFD) continue;
    if (auto it = back.find(unicodeUpper(u)); it != back.end()) upper_[b] = it->second;
    if (auto it = back.find(unicodeLower(u)); it != back.end()) lower_[b] = it->second;
  }
}

const CodePage& CodePage::windows1252() {
  return pageAt(0);
}

const CodePage& CodePage::forLanguageDriver(uint8_t mark) {
  for (size_t i = 0; i < std::size(kPages); ++i)
    if (kPages[i].mark == mark) return pageAt(i);
  return windows1252();
}

const CodePage& CodePage::forNumber(int number) {
  for (size_t i = 0; i < std::size(kPages); ++i)
    if (kPages[i].number == number) return pageAt(i);
  throw Error(EG_UNSUPPORTED, SC_VALUE, "página de códigos no soportada " + std::to_string(number));
}

void CodePage::upperInPlace(std::string& bytes) const {
  for (auto& c : bytes) c = static_cast<char>(upper_[static_cast<unsigned char>(c)]);
}

void CodePage::lowerInPlace(std::string& bytes) const {
  for (auto& c : bytes) c = static_cast<char>(lower_[static_cast<unsigned char>(c)]);
}

namespace {

// Where the first byte outside ASCII is (the size when there is none): ASCII is the same in
// every code page and in UTF-8, and most fields hold nothing else.
size_t asciiPrefix(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i;
}

}  // namespace

std::string CodePage::toUtf8(std::string_view bytes) const {
  const size_t ascii = asciiPrefix(bytes);
  std::string out(bytes.substr(0, ascii));
  if (ascii == bytes.size()) return out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (unsigned char c : bytes.substr(ascii)) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      char32_t u = toUnicode_[c];
      appendUtf8(out, u == 0xFFFD ? char32_t(c) : u);  // undefined bytes pass as Latin-1
    }
  }
  return out;
}

std::string CodePage::fromUtf8(std::string_view utf8) const {
  size_t i = asciiPrefix(utf8);
  std::string out(utf8.substr(0, i));
  if (i == utf8.size()) return out;
  out.reserve(utf8.size());
  while (i < utf8.size()) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    char32_t u = decodeUtf8(utf8, i);
    auto it = fromUnicode_.find(u);
    if (it != fromUnicode_.end())
      out.push_back(static_cast<char>(it->second));
    else if (u >= 0x80 && u <= 0xFF && toUnicode_[u] == 0xFFFD)
      out.push_back(static_cast<char>(u));  // the Latin-1 pass-through of toUtf8
    else
      out.push_back('?');
  }
  return out;
}

char32_t decodeUtf8(std::string_view s, size_t& i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  int extra = 0;
  char32_t cp = 0;
  if (c < 0x80) {
    ++i;
    return c;
  } else if ((c & 0xE0) == 0xC0) {
    extra = 1;
    cp = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    extra = 2;
    cp = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    extra = 3;
    cp = c & 0x07;
  } else {
    ++i;
    return c;
  }
  if (i + extra >= s.size()) {
    ++i;
    return c;
  }
  for (int k = 1; k <= extra; ++k) {
    unsigned char cc = static_cast<unsigned char>(s[i + k]);
    if ((cc & 0xC0) != 0x80) {
      ++i;
      return c;
    }
    cp = (cp << 6) | (cc & 0x3F);
  }
  i += extra + 1;
  return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace xbase
