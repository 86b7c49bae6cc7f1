#include "processes/repair_journal.h"

#include <algorithm>
#include <map>

#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "xbase/date.h"
#include "xbase/number_text.h"

namespace processes {

namespace {

using lib::Value;

// A field's value as the journal keeps it, and back: the fields repairs touch are texts and
// whole numbers.
std::string textOf(const Value& v) {
  switch (v.type) {
    case xbase::ValueType::Number:
      return xbase::shortestNumber(v.number);
    case xbase::ValueType::Date:
    case xbase::ValueType::DateTime:
      return xbase::dtos(v.julian);
    default:
      return lib::rtrim(v.text);
  }
}

Value valueLike(const Value& current, const std::string& text) {
  switch (current.type) {
    case xbase::ValueType::Number:
      return Value::num(xbase::parseNumber(text));
    case xbase::ValueType::Date:
      return Value::date(xbase::julianFromDtos(text));
    default:
      return Value::chars(text);
  }
}

std::string runKey(const lib::WDBTable& log, const std::string& negocio, const std::string& run) {
  return log.KeyPart("NEGOCIO", negocio) + log.KeyPart("CORRIDA", run);
}

}  // namespace

std::string RUN_NOW() {
  return xbase::dtos(lib::XDATE()) + " " + lib::XTIME();
}

RepairJournal::RepairJournal(std::string negocio, std::string run)
    : negocio_(std::move(negocio)), run_(std::move(run)), log_(lib::USE(nullptr, "CONG_LOG", "CONG_LOG")) {}

RepairJournal::~RepairJournal() {
  lib::KILLTABLA(log_);
}

void RepairJournal::write(const std::string& finding, const lib::WDBTable& table, const std::string& action,
                          const std::string& field, const std::string& before, const std::string& after) {
  std::string tableName = lib::upper(table.Name);
  tableName = tableName.substr(0, tableName.find('.'));
  const uint32_t record = table.RecNo();
  ++changes_;
  lib::ADD(*log_, [&] {
    log_->FieldPut("NEGOCIO", Value::chars(negocio_));
    log_->FieldPut("CORRIDA", Value::chars(run_));
    log_->FieldPut("SECUENCIA", Value::num(double(changes_)));
    log_->FieldPut("HALLAZGO", Value::chars(finding));
    log_->FieldPut("TABLA", Value::chars(tableName));
    log_->FieldPut("REGISTRO", Value::num(record));
    log_->FieldPut("ACCION", Value::chars(action));
    log_->FieldPut("CAMPO", Value::chars(field));
    log_->FieldPut("ANTES", Value::chars(before));
    log_->FieldPut("DESPUES", Value::chars(after));
    log_->FieldPut("USUARIO", Value::chars(lib::G().XUSER_ABREVIA));
    log_->FieldPut("FECHA", Value::date(lib::XDATE()));
    log_->FieldPut("HORA", Value::chars(lib::XTIME()));
  });
}

void RepairJournal::SET(lib::WDBTable& table, const std::string& finding,
                        const std::vector<std::pair<std::string, Value>>& fields) {
  std::vector<std::pair<std::string, std::string>> before;
  lib::MODIFY(table, [&] {
    for (const auto& [field, value] : fields) {
      before.emplace_back(field, textOf(table.FieldGet(field)));
      table.FieldPut(field, value);
    }
  });
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::string after = textOf(table.FieldGet(fields[i].first));
    if (after != before[i].second) write(finding, table, "M", fields[i].first, before[i].second, after);
  }
}

void RepairJournal::DELETE(lib::WDBTable& table, const std::string& finding) {
  lib::MODIFY(table, [&] { table.Delete(); });
  write(finding, table, "D", "", "", "");
}

void RepairJournal::APPEND(lib::WDBTable& table, const std::string& finding, const std::function<void()>& fill) {
  lib::ADD(table, fill);
  write(finding, table, "A", "", "", "");
}

std::vector<std::string> JOURNAL_RUNS(const std::string& negocio) {
  std::vector<std::string> runs;
  lib::EACH_RECORD("CONG_LOG", "CONG_LOG", lib::businessKey(negocio), [&](const lib::WDBTable& t) {
    const std::string run = t.S("CORRIDA");
    if (runs.empty() || runs.back() != run) runs.push_back(run);
  });
  std::reverse(runs.begin(), runs.end());
  return runs;
}

std::vector<JournalEntry> JOURNAL_OF(const std::string& negocio, const std::string& run) {
  std::vector<JournalEntry> entries;
  auto log = lib::USE(nullptr, "CONG_LOG", "CONG_LOG");
  const std::string key = runKey(*log, negocio, run);
  for (log->Seek(key, true); !log->Eof() && log->KeyPart("NEGOCIO", log->S("NEGOCIO")) +
                                                    log->KeyPart("CORRIDA", log->S("CORRIDA")) == key;
       log->Skip()) {
    entries.push_back({log->S("HALLAZGO"), log->S("TABLA"), log->S("ACCION"), log->S("CAMPO"), log->S("ANTES"),
                       log->S("DESPUES"), log->S("USUARIO"), uint32_t(log->N("REGISTRO"))});
  }
  lib::KILLTABLA(log);
  return entries;
}

// Newest change first, so that a field rewritten twice in a run ends with its first value.
UndoResult DESHACER(const std::string& negocio, const std::string& run) {
  UndoResult result;
  std::vector<JournalEntry> entries = JOURNAL_OF(negocio, run);
  std::reverse(entries.begin(), entries.end());
  std::map<std::string, std::unique_ptr<lib::WDBTable>> tables;
  for (const JournalEntry& e : entries) {
    auto& t = tables[e.table];
    if (!t) t = lib::USE(nullptr, e.table);
    t->driver().setDeletedHidden(false);
    t->GoTo(e.record);
    if (t->Eof()) {
      ++result.refused;
      continue;
    }
    if (e.action == "M") {
      const Value now = t->FieldGet(e.field);
      if (t->Deleted() || textOf(now) != e.after) {
        ++result.refused;
        continue;
      }
      lib::MODIFY(*t, [&] { t->FieldPut(e.field, valueLike(now, e.before)); });
    } else if (e.action == "A") {
      if (t->Deleted()) {
        ++result.refused;
        continue;
      }
      lib::MODIFY(*t, [&] { t->Delete(); });
    } else if (e.action == "D") {
      if (!t->Deleted()) {
        ++result.refused;
        continue;
      }
      lib::MODIFY(*t, [&] { t->Recall(); });
    }
    ++result.restored;
  }
  for (auto& [name, t] : tables) {
    t->driver().setDeletedHidden(true);
    lib::KILLTABLA(t);
  }
  return result;
}

}  // namespace processes
