#include "guests/guest_exchange.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <utility>

#include "guests/guest_rules.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/table_driver.h"
#include "lib/text.h"
#include "lib/use.h"
#include "xbase/date.h"
#include "xbase/file.h"

namespace guests {

namespace {

using lib::Value;

constexpr const char* kExportFolder = "F_EXPORT\\";
constexpr const char* kImportFolder = "F_IMPORT\\";
constexpr size_t kShortDocument = 4;

std::string folderPath(const char* folder) {
  return lib::G().PATH + lib::normaliseFolder(folder);
}

// An exchange file, alone and on the local files whatever the program's driver.
std::unique_ptr<lib::WDBTable> exchangeFile(const std::string& name, const char* folder, bool readOnly) {
  lib::UseOptions o;
  o.shared = false;
  o.readOnly = readOnly;
  o.folder = folder;
  o.driver = "DBFCDX";
  return lib::USE(nullptr, name, o);
}

void createExchangeFile(const lib::WDBTable& like, const std::string& name) {
  const std::string path = folderPath(kExportFolder) + name + ".DBF";
  std::filesystem::create_directories(folderPath(kExportFolder));
  for (const char* ext : {".DBF", ".CDX", ".FPT"}) std::filesystem::remove(folderPath(kExportFolder) + name + ext);
  lib::storageDriver("DBFCDX").create(path, like.DBStruct());
}

// The fields of `to` that `from` has too: (position in from, position in to), 1-based.
std::vector<std::pair<int, int>> sameFields(const lib::WDBTable& from, const lib::WDBTable& to) {
  std::vector<std::pair<int, int>> pairs;
  for (int i = 1; i <= to.FCount(); ++i)
    if (int j = from.FieldPos(to.FieldName(i)); j > 0) pairs.push_back({j, i});
  return pairs;
}

void copyFields(const lib::WDBTable& from, lib::WDBTable& to, const std::vector<std::pair<int, int>>& pairs) {
  lib::TableDriver &source = from.driver(), &target = to.driver();
  for (auto [j, i] : pairs) target.put(i - 1, source.get(j - 1));
}

// Writes the records of a bulk run into `table`: when the table can be had whole (its file
// lock, taken only while no other workstation holds one of its records) the records are
// written under it and reach the files together when it is released; otherwise each is
// appended or rewritten under its own lock by the record protocol.
class BulkWriter {
 public:
  explicit BulkWriter(lib::WDBTable& table) : table_(table), whole_(table.FLock()) {}
  ~BulkWriter() {
    if (whole_) table_.Unlock();
  }
  BulkWriter(const BulkWriter&) = delete;
  BulkWriter& operator=(const BulkWriter&) = delete;

  template <typename F>
  void append(F fill) {
    if (!whole_) return lib::ADD(table_, fill);
    if (!table_.Append()) throw std::runtime_error("no se pudo agregar un registro a " + table_.Name);
    fill();
  }
  // The current record.
  template <typename F>
  void rewrite(F fill) {
    if (!whole_) return lib::MODIFY(table_, fill);
    fill();
  }

 private:
  lib::WDBTable& table_;
  const bool whole_;
};

bool fileThere(const std::string& name) {
  return !xbase::findFileNoCase(folderPath(kImportFolder) + name + ".DBF").empty();
}

}  // namespace

ExportResult EXPORTA_HUESPEDES(const std::string& negocio, int32_t from, const std::string& name,
                               const std::function<void(const std::string&)>& showing) {
  ExportResult result;
  auto guests = lib::USE(nullptr, "H_HUES", "H_HUES6");
  auto stays = lib::USE(nullptr, "DET_RES2", "DET_RS41");
  auto history = lib::USE(nullptr, "H_RES2", "H_RES2");
  const std::string guestFile = "EH" + lib::trim(name), stayFile = "RH" + lib::trim(name);
  createExchangeFile(*guests, guestFile);
  createExchangeFile(*history, stayFile);
  lib::KILLTABLA(history);
  auto eh = exchangeFile(guestFile, kExportFolder, false);
  auto rh = exchangeFile(stayFile, kExportFolder, false);
  const auto guestFields = sameFields(*guests, *eh);
  const auto stayFields = sameFields(*stays, *rh);
  const std::string unit = lib::businessKey(negocio);
  std::optional<BulkWriter> guestWriter(std::in_place, *eh), stayWriter(std::in_place, *rh);
  guests->SetScope(unit);
  guests->Seek(unit + xbase::dtos(from), true);
  for (; !guests->Eof(); guests->Skip()) {
    guestWriter->append([&] { copyFields(*guests, *eh, guestFields); });
    ++result.guests;
    const std::string document = lib::trim(guests->S("CEDULA"));
    if (document.size() <= kShortDocument) continue;
    if (showing) showing(document);
    const std::string key = unit + stays->KeyPart("CEDULA", document);
    stays->SetScope(key);
    for (stays->GoTop(); !stays->Eof(); stays->Skip()) {
      stayWriter->append([&] { copyFields(*stays, *rh, stayFields); });
      ++result.stays;
    }
    stays->ClearScope();
  }
  stayWriter.reset();
  guestWriter.reset();
  lib::KILLTABLA(rh);
  lib::KILLTABLA(eh);
  lib::KILLTABLA(stays);
  lib::KILLTABLA(guests);
  auto hotel = lib::USE(nullptr, "F_HOTEL", "F_HOTEL");
  if (hotel->Seek(unit)) lib::MODIFY(*hotel, [&] { hotel->FieldPut("F_H_HUESP", Value::date(lib::XDATE())); });
  lib::KILLTABLA(hotel);
  return result;
}

std::vector<std::string> ARCHIVOS_IMPORTACION() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folderPath(kImportFolder), ec)) {
    const std::string file = lib::upper(entry.path().filename().string());
    if (file.size() > 6 && file.rfind("EH", 0) == 0 && file.substr(file.size() - 4) == ".DBF")
      names.push_back(file.substr(2, file.size() - 6));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> FALTANTES_IMPORTACION(const std::string& name) {
  std::vector<std::string> missing;
  for (const char* prefix : {"EH", "RH"}) {
    const std::string file = prefix + lib::trim(name);
    if (!fileThere(file)) missing.push_back(file + ".DBF");
  }
  return missing;
}

ImportCheck CHECK_IMPORT(const std::string& negocio, const std::string& name) {
  ImportCheck check;
  std::set<std::string> countries;
  lib::EACH_RECORD("PAISES", "PAISES", lib::businessKey(negocio),
                   [&](const lib::WDBTable& p) { countries.insert(lib::trim(p.S("CODIGO"))); });
  auto eh = exchangeFile("EH" + lib::trim(name), kImportFolder, true);
  std::map<std::string, uint32_t> firstOf;  // document → the record that gives it
  std::set<std::string> refused;            // (unit + document) of the guests left out
  auto has = [&](const char* field) { return eh->HasField(field); };
  for (eh->GoTop(); !eh->Eof(); eh->Skip()) {
    const uint32_t recno = eh->RecNo();
    const std::string document = has("CEDULA") ? lib::trim(eh->S("CEDULA")) : "";
    const std::string unit = has("NEGOCIO") ? eh->S("NEGOCIO") : "";
    std::string reason;
    if (document.empty()) {
      reason = "Sin número de documento";
    } else if (auto it = firstOf.find(document); it != firstOf.end()) {
      reason = "Documento " + document + " repetido (registro " + std::to_string(it->second) + ")";
    } else if (has("NAC_DIA") && has("NAC_MES") && has("NAC_ANHO") &&
               (eh->N("NAC_DIA") != 0 || eh->N("NAC_MES") != 0 || eh->N("NAC_ANHO") != 0) &&
               F_NACE(int(eh->N("NAC_DIA")), int(eh->N("NAC_MES")), int(eh->N("NAC_ANHO"))) == 0) {
      reason = "Fecha de nacimiento inválida: " + std::to_string(int(eh->N("NAC_DIA"))) + "/" +
               std::to_string(int(eh->N("NAC_MES"))) + "/" + std::to_string(int(eh->N("NAC_ANHO")));
    } else if (has("PAIS") && !countries.empty() && !lib::trim(eh->S("PAIS")).empty() &&
               !countries.count(lib::trim(eh->S("PAIS")))) {
      reason = "País desconocido: " + lib::trim(eh->S("PAIS"));
    }
    if (!document.empty() && !firstOf.count(document)) firstOf[document] = recno;
    if (reason.empty()) {
      check.goodGuests.push_back(recno);
    } else {
      check.problems.push_back({false, recno, reason});
      if (!document.empty() && firstOf[document] == recno) refused.insert(unit + "|" + document);
    }
  }
  lib::KILLTABLA(eh);
  auto rh = exchangeFile("RH" + lib::trim(name), kImportFolder, true);
  for (rh->GoTop(); !rh->Eof(); rh->Skip()) {
    const std::string document = rh->HasField("CEDULA") ? lib::trim(rh->S("CEDULA")) : "";
    const std::string unit = rh->HasField("NEGOCIO") ? rh->S("NEGOCIO") : "";
    if (document.empty())
      check.problems.push_back({true, rh->RecNo(), "Sin número de documento"});
    else if (refused.count(unit + "|" + document))
      check.problems.push_back({true, rh->RecNo(), "Huésped " + document + " no importado"});
    else
      check.goodStays.push_back(rh->RecNo());
  }
  lib::KILLTABLA(rh);
  check.guests = int(check.goodGuests.size());
  check.stays = int(check.goodStays.size());
  return check;
}

ImportResult IMPORTA_HUESPEDES(const std::string& negocio, const std::string& name, const ImportCheck& check,
                               const std::function<void(int)>& progress) {
  ImportResult result;
  int written = 0;
  auto tick = [&] {
    if (++written % 100 == 0 && progress) progress(written);
  };
  const int32_t today = lib::XDATE();
  const std::string now = lib::XTIME();
  auto eh = exchangeFile("EH" + lib::trim(name), kImportFolder, true);
  auto guests = lib::USE(nullptr, "H_HUES", "H_HUES4");
  const auto guestFields = sameFields(*eh, *guests);
  const std::string unit = lib::businessKey(negocio);
  std::optional<BulkWriter> guestWriter(std::in_place, *guests);
  for (uint32_t recno : check.goodGuests) {
    eh->GoTo(recno);
    const std::string document = eh->S("CEDULA");
    const std::string from = eh->HasField("NEGOCIO") ? eh->S("NEGOCIO") : "";
    auto fill = [&] {
      copyFields(*eh, *guests, guestFields);
      guests->FieldPut("NEGOCIO_O", Value::chars(from));
      guests->FieldPut("NEGOCIO", Value::chars(negocio));
      guests->FieldPut("F_ACT2", Value::date(today));
      guests->FieldPut("H_ACT2", Value::chars(now));
    };
    guests->SetOrder("H_HUES4");
    bool found = guests->Seek(unit + guests->KeyPart("CEDULA", document));
    if (!found) {
      guests->SetOrder("H_HUES7");
      found = guests->Seek(guests->KeyPart("CEDULA", document));
    }
    if (found) {
      guestWriter->rewrite(fill);
      ++result.updated;
    } else {
      guestWriter->append(fill);
      ++result.added;
    }
    tick();
  }
  guestWriter.reset();
  lib::KILLTABLA(guests);
  lib::KILLTABLA(eh);

  auto rh = exchangeFile("RH" + lib::trim(name), kImportFolder, true);
  auto history = lib::USE(nullptr, "H_RES2", "H_RES22");
  const auto stayFields = sameFields(*rh, *history);
  std::optional<BulkWriter> stayWriter(std::in_place, *history);
  // The rows of each (business unit, document), in the order the file first gives them.
  std::vector<std::pair<std::string, std::string>> order;
  std::map<std::pair<std::string, std::string>, std::vector<uint32_t>> groups;
  for (uint32_t recno : check.goodStays) {
    rh->GoTo(recno);
    std::pair<std::string, std::string> key{rh->HasField("NEGOCIO") ? rh->S("NEGOCIO") : "", rh->S("CEDULA")};
    auto [it, fresh] = groups.try_emplace(key);
    if (fresh) order.push_back(key);
    it->second.push_back(recno);
  }
  for (const auto& key : order) {
    const auto& [from, document] = key;
    std::vector<uint32_t> existing;
    history->SetScope(history->KeyPart("NEGOCIO_O", from) + history->KeyPart("CEDULA", document));
    for (history->GoTop(); !history->Eof(); history->Skip()) existing.push_back(history->RecNo());
    history->ClearScope();
    size_t next = 0;
    for (uint32_t recno : groups[key]) {
      rh->GoTo(recno);
      auto fill = [&] {
        copyFields(*rh, *history, stayFields);
        history->FieldPut("NEGOCIO_O", Value::chars(from));
        history->FieldPut("NEGOCIO", Value::chars(negocio));
      };
      if (next < existing.size()) {
        history->GoTo(existing[next++]);
        stayWriter->rewrite(fill);
      } else {
        stayWriter->append(fill);
      }
      ++result.stays;
      tick();
    }
  }
  stayWriter.reset();
  lib::KILLTABLA(history);
  lib::KILLTABLA(rh);
  return result;
}

}  // namespace guests
