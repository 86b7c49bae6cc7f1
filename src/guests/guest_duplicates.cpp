#include "guests/guest_duplicates.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <unordered_map>

namespace guests {

namespace {

constexpr size_t kLargestBirthGroup = 1000;

// Latin-1 letters (U+00C0 to U+00FF) without their accents, in lower case; 0 for signs.
char foldLatin1(unsigned code) {
  static const char* const kFold =
      "aaaaaaaceeeeiiii"    // C0-CF
      "dnooooo\0ouuuuyts"   // D0-DF (D7 multiplication sign, DE thorn, DF sharp s)
      "aaaaaaaceeeeiiii"    // E0-EF
      "dnooooo\0ouuuuyty";  // F0-FF (F7 division sign)
  return code >= 0xC0 && code <= 0xFF ? kFold[code - 0xC0] : 0;
}

// Letters and digits folded, everything else a blank.
std::string fold(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += std::isalnum(c) ? char(std::tolower(c)) : ' ';
    } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
      const unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
      const char f = foldLatin1(code);
      out += f ? f : ' ';
      ++i;
    } else {
      out += ' ';
    }
  }
  return out;
}

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(fold(text));
  std::vector<std::string> w;
  for (std::string word; in >> word;) w.push_back(word);
  return w;
}

std::string documentKey(const std::string& document) {
  std::string key;
  for (char c : fold(document))
    if (c != ' ') key += c;
  return key.size() >= 3 ? key : "";
}

std::string emailKey(const std::string& email) {
  std::string key;
  for (unsigned char c : email)
    if (!std::isspace(c)) key += char(std::tolower(c));
  return key.find('@') != std::string::npos && key.size() > 4 ? key : "";
}

size_t editDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

// Every word of the shorter within the longer (a second surname left out, say).
bool wordsWithin(const std::string& a, const std::string& b) {
  std::istringstream ia(a), ib(b);
  std::multiset<std::string> wa, wb;
  for (std::string w; ia >> w;) wa.insert(w);
  for (std::string w; ib >> w;) wb.insert(w);
  if (wa.size() > wb.size()) std::swap(wa, wb);
  if (wa.size() < 2) return false;
  return std::includes(wb.begin(), wb.end(), wa.begin(), wa.end());
}

bool closeNames(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  return editDistance(a, b) <= 2 || wordsWithin(a, b);
}

}  // namespace

std::string NORMALIZA_NOMBRE(const std::string& text) {
  std::vector<std::string> w = words(text);
  std::sort(w.begin(), w.end());
  std::string out;
  for (const std::string& word : w) out += (out.empty() ? "" : " ") + word;
  return out;
}

std::vector<DuplicatePair> BUSCA_DUPLICADOS(const std::vector<GuestKeys>& guests) {
  const char* const kReasons[] = {"Mismo documento", "Mismo email", "Mismo nombre",
                                  "Misma fecha de nacimiento y nombre parecido"};
  std::map<std::pair<uint32_t, uint32_t>, unsigned> found;  // pair → reasons as bits
  auto add = [&](uint32_t a, uint32_t b, int reason) {
    if (a == b) return;
    found[{std::min(a, b), std::max(a, b)}] |= 1u << reason;
  };
  std::vector<std::string> names(guests.size());
  for (size_t i = 0; i < guests.size(); ++i) names[i] = NORMALIZA_NOMBRE(guests[i].name + " " + guests[i].surname);
  // Exact keys: each guest with the first of its group.
  std::unordered_map<std::string, uint32_t> firstOf[3];
  for (size_t i = 0; i < guests.size(); ++i) {
    const std::string keys[3] = {documentKey(guests[i].document), emailKey(guests[i].email), names[i]};
    for (int k = 0; k < 3; ++k) {
      if (keys[k].empty()) continue;
      auto [it, fresh] = firstOf[k].try_emplace(keys[k], guests[i].recno);
      if (!fresh) add(it->second, guests[i].recno, k);
    }
  }
  // The same birth date: names compared within the (small) group of that date.
  std::unordered_map<int32_t, std::vector<size_t>> byBirth;
  for (size_t i = 0; i < guests.size(); ++i)
    if (guests[i].birth) byBirth[guests[i].birth].push_back(i);
  for (const auto& [date, members] : byBirth) {
    if (members.size() > kLargestBirthGroup) continue;  // a date typed as a placeholder
    for (size_t x = 0; x < members.size(); ++x)
      for (size_t y = x + 1; y < members.size(); ++y) {
        const std::string &a = names[members[x]], &b = names[members[y]];
        if (a != b && closeNames(a, b)) add(guests[members[x]].recno, guests[members[y]].recno, 3);
      }
  }
  std::vector<DuplicatePair> pairs;
  for (const auto& [pair, bits] : found) {
    std::string reason;
    for (int k = 0; k < 4; ++k)
      if (bits & (1u << k)) reason += (reason.empty() ? "" : ", ") + std::string(kReasons[k]);
    pairs.push_back({pair.first, pair.second, reason});
  }
  return pairs;
}

}  // namespace guests
