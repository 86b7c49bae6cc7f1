#include "processes/congruence.h"

#include <map>
#include <memory>
#include <set>

#include "lib/money.h"
#include "lib/program_time.h"
#include "lib/text.h"
#include "lib/use.h"
#include "processes/repair_journal.h"
#include "rooms/hotel_day.h"
#include "xbase/date.h"

namespace processes {

namespace {

using lib::Money;
using lib::Value;

constexpr const char* kPrices[] = {"P_ADULT_R", "P_ADULT_E", "P_NINHO_R", "P_NINHO_E"};
constexpr const char* kHistoric[] = {"H_ADULT_R", "H_ADULT_E", "H_NINHO_R", "H_NINHO_E"};

struct Stay {
  std::string codRes, codHab, codigo, room;
  int estado = 0;
  int32_t arrival = 0, departure = 0;
  double adults = 0, children = 0, free = 0;
  Money prices[4];
};

struct Header {
  bool found = false;
  std::string agencia, rack;
  int32_t entered = 0;
};

struct Rack {
  std::string clase;
  double source = 0;
};

// A field as the record holds it, blank-padded to its width: how the findings quote values.
std::string raw(const lib::WDBTable& t, const char* field) {
  return lib::padded(t.S(field), t.FieldWidth(field));
}

class Check {
 public:
  Check(const std::string& negocio, const CongruenceOptions& options, RepairJournal* journal,
        rooms::Progress& progress)
      : neg_(negocio), opt_(options), journal_(journal), progress_(progress) {
    res2_ = lib::USE(nullptr, "DET_RES2", "DET_RES2");
    rooms_ = lib::USE(nullptr, "ROOMS", "ROOMS");
    tab_ = lib::USE(nullptr, "TAB_RESE", "TAB_RESE");
    day_ = lib::USE(nullptr, "DET_RES9", "DET_RES9");
    enc_ = lib::USE(nullptr, "ENC_RES", "ENC_RES");
    lines_ = lib::USE(nullptr, "DET_RES1", "DET_RES1");
    racks_ = lib::USE(nullptr, "ENC_RACK", "ENC_RACK");
    types_ = lib::USE(nullptr, "TIPO_ROM", "TIPO_ROM");
    closing_ = rooms::CIERRE_DIA(negocio);
    lib::EACH_RECORD("F_HOTEL", "F_HOTEL", lib::businessKey(negocio), [&](const lib::WDBTable& h) {
      free_ = h.S("LIBRE");
      occupied_ = lib::trim(h.S("IN_EST_HA"));
    });
    lib::EACH_RECORD("F_HOTEL3", "F_HOTEL3", lib::businessKey(negocio),
                     [&](const lib::WDBTable& h) { tipoStat_ = int(h.N("TIPO_STAT")); });
  }

  ~Check() {
    for (auto* t : {&res2_, &rooms_, &tab_, &day_, &enc_, &lines_, &racks_, &types_}) lib::KILLTABLA(*t);
  }

  CongruenceResult run() {
    const bool done = repeatedRooms() && (!opt_.inHouse || (roomsAgainstStays() && staysAgainstRooms() &&
                                                            roomDaysInHouse() && dayRowsOf(inHouse_, "(H)", "")) ) &&
                      (!opt_.historic || (dayRowsOf(departed_, "(2)", "(H)") && surplusDayRows())) &&
                      (!opt_.future || (dayRowsOf(pending_, "(P)", "(P)") && preassignments() && roomDaysAhead())) &&
                      (!opt_.attributes || attributes());
    result_.completed = done;
    return std::move(result_);
  }

 private:
  bool goOn() {
    ++result_.read;
    return progress_.CANPRINT();
  }

  void found(const std::string& text, const Stay* s = nullptr, const std::string& room = "") {
    Finding f{text, room, 0, 0, ""};
    if (s) f = {text, s->room, s->arrival, s->departure, s->codRes};
    result_.findings.push_back(std::move(f));
  }

  void set(lib::WDBTable& t, const std::string& text, const std::vector<std::pair<std::string, Value>>& fields) {
    if (!journal_) return;
    journal_->SET(t, text, fields);
    ++result_.repaired;
  }

  // Deletes the record under the cursor and leaves the cursor on the one that followed it.
  void remove(lib::WDBTable& t, const std::string& text) {
    if (!journal_) {
      t.Skip();
      return;
    }
    const uint32_t at = t.RecNo();
    t.Skip();
    const uint32_t next = t.Eof() ? 0 : t.RecNo();
    t.GoTo(at);
    journal_->DELETE(t, text);
    ++result_.repaired;
    if (next)
      t.GoTo(next);
    else
      t.GoBottom(), t.Skip();
  }

  static Stay readStay(const lib::WDBTable& t) {
    Stay s{t.S("COD_RES"), t.S("COD_HAB"), t.S("CODIGO"), lib::trim(t.S("COD_ROOMS")), int(t.N("ESTADO")),
           t.D("F_INICIO"), t.D("F_FINAL"), t.N("N_ADULT"), t.N("N_NINHO"), t.N("N_GRATIS"), {}};
    for (int i = 0; i < 4; ++i) s.prices[i] = t.M(kPrices[i]);
    return s;
  }

  std::string prefix(const lib::WDBTable& t) const { return t.KeyPart("NEGOCIO", neg_); }
  bool ours(const lib::WDBTable& t) const { return !t.Eof() && lib::trim(t.S("NEGOCIO")) == lib::trim(neg_); }

  // The stays of one state (DET_RS23), from `from` on.
  bool staysOf(int estado, int32_t from, std::vector<Stay>& into) {
    res2_->SetOrder("DET_RS23");
    const std::string key = prefix(*res2_) + std::to_string(estado);
    for (res2_->Seek(key + (from ? xbase::dtos(from) : ""), true); ours(*res2_) && int(res2_->N("ESTADO")) == estado;
         res2_->Skip()) {
      if (!goOn()) return false;
      into.push_back(readStay(*res2_));
    }
    return true;
  }

  Header header(const std::string& codRes) {
    auto it = headers_.find(codRes);
    if (it != headers_.end()) return it->second;
    Header h;
    if (enc_->Seek(prefix(*enc_) + enc_->KeyPart("CODIGO", codRes))) {
      h = {true, enc_->S("AGENCIA"), enc_->S("COD_RACK"), enc_->D("F_DIGITA")};
    }
    return headers_[codRes] = h;
  }

  // The room type of a reservation line, "" without the line; `exists` tells which.
  std::string lineType(const std::string& codRes, const std::string& codHab, bool* exists = nullptr) {
    const bool hit = lines_->Seek(prefix(*lines_) + lines_->KeyPart("COD_RES", codRes) +
                                  lines_->KeyPart("COD_HAB", codHab));
    if (exists) *exists = hit;
    return hit ? lines_->S("TIPO_ROM") : "";
  }

  Rack rack(const std::string& code) {
    auto it = racks.find(code);
    if (it != racks.end()) return it->second;
    Rack r;
    if (!lib::trim(code).empty() && racks_->Seek(prefix(*racks_) + racks_->KeyPart("CODIGO", code)))
      r = {racks_->S("CLASE"), racks_->N("TIP_SOURCE")};
    return racks[code] = r;
  }

  std::string typeClass(const std::string& tipo) {
    if (lib::trim(tipo).empty()) return "";
    return types_->Seek(prefix(*types_) + types_->KeyPart("CODIGO", tipo)) ? types_->S("CLASE") : "";
  }

  std::string expectedClass(const Header& h, const std::string& tipo) {
    if (tipoStat_ == 0) return rack(h.rack).clase;
    if (tipoStat_ == 1) return typeClass(tipo);
    return "";
  }

  std::string dayKey(int32_t d, const Stay& s) const {
    return prefix(*day_) + xbase::dtos(d) + day_->KeyPart("COD_RES", s.codRes) + day_->KeyPart("COD_HAB", s.codHab) +
           day_->KeyPart("CODIGO", s.codigo);
  }

  bool seekRoomDay(int32_t d, const std::string& room) {
    return tab_->Seek(prefix(*tab_) + xbase::dtos(d) + tab_->KeyPart("CODIGO", room));
  }

  // 1. Always.
  bool repeatedRooms() {
    progress_.PUT_TEXT("Revisando Congruencia...", "Habitaciones repetidas In-House");
    std::vector<Stay> all;
    if (!staysOf(1, 0, all)) return false;
    std::set<std::string> met;
    for (const Stay& s : all) {
      if (s.room.empty()) continue;
      if (!met.insert(s.room).second) found("Habitación Repetida In-House", &s);
      inHouse_.push_back(s);
    }
    if (opt_.future && !staysOf(0, 0, pending_)) return false;
    if (opt_.historic && !staysOf(2, closing_ - 10, departed_)) return false;
    std::erase_if(departed_, [](const Stay& s) { return s.room.empty(); });
    return true;
  }

  std::string roomsText(const std::string& roomRes, const std::string& stayRes) const {
    return "ROOMS.DBF incongruente: R: " + lib::padded(roomRes, 10) + "    RES2: " + lib::padded(stayRes, 10);
  }

  // 2.
  bool roomsAgainstStays() {
    progress_.PUT_TEXT("Revisando Congruencia...", "ROOMS contra reservas In-House");
    for (const Stay& s : inHouse_) {
      if (!goOn()) return false;
      const bool there = rooms_->Seek(prefix(*rooms_) + rooms_->KeyPart("CODIGO", s.room));
      const std::string held = there ? rooms_->S("COD_RES") : "";
      if (lib::trim(held) == lib::trim(s.codRes)) continue;
      const std::string text = roomsText(held, s.codRes);
      found(text, &s);
      if (there) set(*rooms_, text, {{"COD_RES", Value::chars(s.codRes)}});
    }
    return true;
  }

  // 3.
  bool staysAgainstRooms() {
    progress_.PUT_TEXT("Revisando Congruencia...", "Reservas In-House contra ROOMS");
    auto stays = lib::USE(nullptr, "DET_RES2", "DET_RS30");
    bool ok = true;
    for (rooms_->Seek(prefix(*rooms_), true); ours(*rooms_); rooms_->Skip()) {
      if (!(ok = goOn())) break;
      const std::string held = rooms_->S("COD_RES");
      if (lib::trim(held).empty()) continue;
      const std::string room = rooms_->S("CODIGO");
      if (stays->Seek(prefix(*stays) + "1" + stays->KeyPart("COD_ROOMS", room))) {
        const Stay s = readStay(*stays);
        if (lib::trim(s.codRes) == lib::trim(held)) continue;
        const std::string text = roomsText(held, s.codRes);
        found(text, &s);
        set(*rooms_, text, {{"COD_RES", Value::chars(s.codRes)}});
      } else {
        const std::string text = "ROOMS.DBF incongruente: R: " + lib::padded(held, 10) + "  Debe estar en blanco";
        found(text, nullptr, room);
        set(*rooms_, text, {{"COD_RES", Value::chars("")}});
      }
    }
    lib::KILLTABLA(stays);
    return ok;
  }

  // 4.
  bool roomDaysInHouse() {
    progress_.PUT_TEXT("Revisando Congruencia...", "TAB_RESE de reservas In-House");
    for (const Stay& s : inHouse_)
      for (int32_t d = s.arrival; d <= s.departure; ++d) {
        if (!goOn()) return false;
        const bool there = seekRoomDay(d, s.room);
        const std::string date = lib::DTOC(d);
        const std::string reserva = there ? raw(*tab_, "RESERVA") : std::string(10, ' ');
        const std::string state = there ? raw(*tab_, "T_EST_HA") : "  ";
        if (lib::trim(reserva) != lib::trim(s.codRes)) {
          const std::string text = "(H) TAB_RESE Reserva Malo: " + date + " Reserva: " + reserva + "(deberia ser " +
                                   lib::padded(s.codRes, 10) + ")";
          found(text, &s);
          if (there) set(*tab_, text, {{"RESERVA", Value::chars(s.codRes)}});
        }
        const std::string wanted = d < s.departure ? "04" : "05";
        if (state != wanted) {
          const std::string text =
              "(H) TAB_RESE Estado Malo: " + date + " Estado: " + state + "(deberia ser " + wanted + ")";
          found(text, &s);
          if (there) set(*tab_, text, {{"T_EST_HA", Value::chars(wanted)}});
        }
        if (d < s.departure && there && tab_->N("PREASIGN") != 0) {
          const std::string text = "(H) TAB_RESE Pre-Asign Puesto: " + date + " (deberia ser 0)";
          found(text, &s);
          if (there) set(*tab_, text, {{"PREASIGN", Value::num(0)}, {"PRE_RES", Value::chars("")}});
        }
      }
    return true;
  }

  // (R): the day row of stay `s` on `d`, as the reservation programs write it.
  void createDayRow(const Stay& s, int32_t d, const std::string& text) {
    if (!journal_) return;
    const Header h = header(s.codRes);
    bool lineThere = false;
    const std::string tipo = lineType(s.codRes, s.codHab, &lineThere);
    const std::string clase = expectedClass(h, tipo);
    const double source = rack(h.rack).source;
    journal_->APPEND(*day_, text, [&] {
      day_->FieldPut("NEGOCIO", Value::chars(neg_));
      day_->FieldPut("FECHA", Value::date(d));
      day_->FieldPut("COD_RES", Value::chars(s.codRes));
      day_->FieldPut("COD_HAB", Value::chars(s.codHab));
      day_->FieldPut("CODIGO", Value::chars(s.codigo));
      day_->FieldPut("N_ADULT", Value::num(s.adults));
      day_->FieldPut("N_NINHO", Value::num(s.children));
      day_->FieldPut("N_GRATIS", Value::num(s.free));
      day_->FieldPut("AGENCIA", Value::chars(h.agencia));
      day_->FieldPut("F_DIGITA", Value::date(h.entered));
      day_->FieldPut("CLASE", Value::chars(clase));
      day_->FieldPut("TIP_SOURCE", Value::num(source));
      if (lineThere) day_->FieldPut("TIPO_ROM", Value::chars(tipo));
      if (d != s.departure)
        for (int i = 0; i < 4; ++i) {
          day_->FieldPut(kPrices[i], s.prices[i]);
          day_->FieldPut(kHistoric[i], s.prices[i]);
        }
    });
    ++result_.repaired;
  }

  // 5, 6 and 7: every date of each stay has its day row, once. `duplicate` empty: not checked.
  bool dayRowsOf(const std::vector<Stay>& stays, const std::string& missing, const std::string& duplicate) {
    progress_.PUT_TEXT("Revisando Congruencia...", "DET_RES9 de reservas " + missing);
    for (const Stay& s : stays)
      for (int32_t d = s.arrival; d <= s.departure; ++d) {
        if (!goOn()) return false;
        const std::string key = dayKey(d, s);
        const std::string tail = lib::DTOC(d) + " Reserva: " + lib::padded(s.codRes, 10);
        if (!day_->Seek(key)) {
          const std::string text = missing + " DET_RES9 no existe: " + tail;
          found(text, &s);
          createDayRow(s, d, text);
          continue;
        }
        if (duplicate.empty()) continue;
        for (day_->Skip(); !day_->Eof() && dayKey(day_->D("FECHA"), readDayStay()) == key;) {
          const std::string text =
              duplicate + " DET_RES9 duplicado: " + lib::DTOC(day_->D("FECHA")) + " Reserva: " + lib::padded(s.codRes, 10);
          found(text, &s);
          remove(*day_, text);
        }
      }
    return true;
  }

  Stay readDayStay() const {
    Stay s;
    s.codRes = day_->S("COD_RES");
    s.codHab = day_->S("COD_HAB");
    s.codigo = day_->S("CODIGO");
    return s;
  }

  // 8.
  bool surplusDayRows() {
    progress_.PUT_TEXT("Revisando Congruencia...", "DET_RES9 sobrantes");
    res2_->SetOrder("DET_RES2");
    day_->Seek(prefix(*day_) + xbase::dtos(closing_ - 10), true);
    while (ours(*day_)) {
      if (!goOn()) return false;
      const int32_t d = day_->D("FECHA");
      const std::string codRes = day_->S("COD_RES");
      const bool stay = res2_->Seek(prefix(*res2_) + res2_->KeyPart("COD_RES", codRes) +
                                    res2_->KeyPart("COD_HAB", day_->S("COD_HAB")) +
                                    res2_->KeyPart("CODIGO", day_->S("CODIGO")));
      const std::string state = "(" + std::to_string(stay ? int(res2_->N("ESTADO")) : 0) + ")";
      const int32_t arrival = stay ? res2_->D("F_INICIO") : 0, departure = stay ? res2_->D("F_FINAL") : 0;
      const std::string tail = lib::DTOC(d) + " Reserva: " + lib::padded(codRes, 10);
      std::string text;
      if (arrival > d)
        text = state + "DET_RES9 inferior sobra: " + tail;
      else if (departure < d)
        text = state + "DET_RES9 superior sobra: " + tail;
      if (text.empty()) {
        day_->Skip();
        continue;
      }
      Finding f{text, stay ? lib::trim(res2_->S("COD_ROOMS")) : "", arrival, departure, codRes};
      result_.findings.push_back(f);
      remove(*day_, text);
    }
    return true;
  }

  // 9.
  bool preassignments() {
    progress_.PUT_TEXT("Revisando Congruencia...", "Pre-asignaciones de reservas futuras");
    for (const Stay& s : pending_) {
      if (s.room.empty()) continue;
      for (int32_t d = s.arrival; d < s.departure; ++d) {
        if (!goOn()) return false;
        const bool there = seekRoomDay(d, s.room);
        const std::string date = lib::DTOC(d);
        const std::string preRes = there ? raw(*tab_, "PRE_RES") : std::string(10, ' ');
        bool wrong = false;
        std::string text;
        if (lib::trim(preRes) != lib::trim(s.codRes)) {
          text = "(P) TAB_RESE Pre_Res Malo: " + date + " Reserva: " + preRes + "(deberia ser " +
                 lib::padded(s.codRes, 10) + ")";
          found(text, &s);
          wrong = true;
        }
        if (!there || tab_->N("PREASIGN") != 1) {
          text = "(P) TAB_RESE PreAsign en 0: " + date + " Reserva: " + lib::padded(s.codRes, 10) +
                 "(debería estar en 1)";
          found(text, &s);
          wrong = true;
        }
        if (wrong && there) set(*tab_, text, {{"PRE_RES", Value::chars(s.codRes)}, {"PREASIGN", Value::num(1)}});
      }
    }
    return true;
  }

  // 10.
  bool roomDaysAhead() {
    progress_.PUT_TEXT("Revisando Congruencia...", "TAB_RESE desde el cierre");
    auto stays = lib::USE(nullptr, "DET_RES2", "DET_RS24");
    bool ok = true;
    for (tab_->Seek(prefix(*tab_) + xbase::dtos(closing_), true); ours(*tab_); tab_->Skip()) {
      if (!(ok = goOn())) break;
      const int32_t d = tab_->D("FECHA");
      const std::string room = tab_->S("CODIGO"), date = lib::DTOC(d);
      // Whether reservation `codRes` has a stay in this room (covering `d` when asked).
      auto stayed = [&](const std::string& codRes, bool covering) {
        const std::string key = prefix(*stays) + stays->KeyPart("COD_RES", codRes) + stays->KeyPart("COD_ROOMS", room);
        for (stays->Seek(key, true); !stays->Eof() && prefix(*stays) + stays->KeyPart("COD_RES", stays->S("COD_RES")) +
                                                              stays->KeyPart("COD_ROOMS", stays->S("COD_ROOMS")) ==
                                                          key;
             stays->Skip())
          if (!covering || (stays->D("F_INICIO") <= d && d < stays->D("F_FINAL"))) return true;
        return false;
      };
      const std::string preRes = tab_->S("PRE_RES"), reserva = tab_->S("RESERVA");
      if (tab_->N("PREASIGN") == 1 && !stayed(preRes, true)) {
        const std::string text = "(X) TAB_RESE PRE_RES inválido: " + date + " Pre_Res: " + raw(*tab_, "PRE_RES");
        found(text);
        set(*tab_, text, {{"PRE_RES", Value::chars("")}, {"PREASIGN", Value::num(0)}});
      } else if (!lib::trim(reserva).empty() && !stayed(reserva, false)) {
        const std::string text = "(X) TAB_RESE RESERVA inválido: " + date + " Reserva: " + raw(*tab_, "RESERVA");
        found(text);
        set(*tab_, text, {{"RESERVA", Value::chars("")}, {"T_EST_HA", Value::chars(free_)}});
      } else if (lib::trim(reserva).empty() && !occupied_.empty() && lib::trim(tab_->S("T_EST_HA")) == occupied_) {
        const std::string text = "(X) TAB_RESE T_EST_HA ocupado sin reserva: " + date;
        found(text);
        set(*tab_, text, {{"T_EST_HA", Value::chars(free_)}});
      }
    }
    lib::KILLTABLA(stays);
    return ok;
  }

  // 11.
  bool attributes() {
    progress_.PUT_TEXT("Revisando Congruencia...", "Atributos de DET_RES9");
    for (day_->Seek(prefix(*day_) + xbase::dtos(closing_ - 10), true); ours(*day_); day_->Skip()) {
      if (!goOn()) return false;
      const std::string codRes = day_->S("COD_RES");
      const Header h = header(codRes);
      const std::string tipo = lineType(codRes, day_->S("COD_HAB"));
      const std::string start = "DET_RES9: " + lib::DTOC(day_->D("FECHA")) + " ", res = lib::padded(codRes, 10);
      std::vector<std::pair<std::string, Value>> repairs;
      auto compare = [&](const char* field, const std::string& expected) {
        const std::string now = raw(*day_, field), want = lib::padded(expected, day_->FieldWidth(field));
        if (now == want) return;
        const std::string text = start + field + " incongruente: " + res + now + "/" + want;
        found(text);
        set(*day_, text, {{field, Value::chars(expected)}});
      };
      compare("AGENCIA", h.agencia);
      compare("CLASE", expectedClass(h, tipo));
      compare("TIPO_ROM", tipo);
      const double source = rack(h.rack).source;
      if (day_->N("TIP_SOURCE") != source) {
        const std::string text = start + "TIP_SOURCE incongruente: " + res + lib::STR((long long)day_->N("TIP_SOURCE"), 10) +
                                 "/" + lib::STR((long long)source, 10);
        found(text);
        set(*day_, text, {{"TIP_SOURCE", Value::num(source)}});
      }
    }
    return true;
  }

  const std::string neg_;
  const CongruenceOptions opt_;
  RepairJournal* journal_;
  rooms::Progress& progress_;
  CongruenceResult result_;
  std::unique_ptr<lib::WDBTable> res2_, rooms_, tab_, day_, enc_, lines_, racks_, types_;
  int32_t closing_ = 0;
  std::string free_, occupied_;
  int tipoStat_ = 0;
  std::vector<Stay> inHouse_, pending_, departed_;
  std::map<std::string, Header> headers_;
  std::map<std::string, Rack> racks;
};

}  // namespace

CongruenceResult CONGRUENCIA(const std::string& negocio, const CongruenceOptions& options, RepairJournal* journal,
                             rooms::Progress& progress) {
  return Check(negocio, options, journal, progress).run();
}

}  // namespace processes
