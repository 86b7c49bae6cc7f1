#include "lib/printer_profile.h"

#include "lib/text.h"

namespace lib {

std::string predetKey(const std::string& negocio, const std::string& codigo) {
  return businessKey(negocio) + padded(codigo, 2);
}

bool predetFlag(const std::string& value) {
  return !value.empty() && value[0] != '0' && value[0] != ' ';
}

std::string printerEntry(const std::string& listed) {
  const size_t tab = listed.find('\t');
  return tab == std::string::npos ? listed : listed.substr(0, tab);
}

bool matchesPatterns(const std::string& entry, const std::string& p1, const std::string& p2, const std::string& p3) {
  if (p1.empty() || entry.find(p1) == std::string::npos) return false;
  if (!p2.empty() && entry.find(p2) == std::string::npos) return false;
  return p3.empty() || entry.find(p3) != std::string::npos;
}

PredetInfo RESOLVE_PREDET(const ProfileFile& ini, const std::string& negocio, const std::string& codigo,
                          const std::string& hhmm) {
  const std::string k = predetKey(negocio, codigo);
  auto get = [&](const std::string& suffix) { return ini.getString(kPredetSection, k + suffix); };
  PredetInfo info;
  info.printer = printerEntry(get(""));
  info.station = padded(get("ESTAC"), 4);
  info.printAlso = predetFlag(get("ICF"));
  info.byPatterns = predetFlag(get("BP"));
  info.pattern1 = trim(get("P1"));
  info.pattern2 = trim(get("P2"));
  info.pattern3 = trim(get("P3"));
  const std::string now = hhmm.substr(0, 5);
  for (int n = 1; n <= 3; ++n) {
    const std::string w = std::to_string(n);
    if (get("HA" + w) != "1") continue;
    const std::string from = get("HI" + w).substr(0, 5), to = get("HF" + w).substr(0, 5);
    if (now < from || now > to) continue;
    info.printer = printerEntry(get("HP" + w));
    info.station = padded(get("EST" + w), 4);
    info.printAlso = predetFlag(get("ICF" + w));
    info.window = n;
  }
  return info;
}

}  // namespace lib
