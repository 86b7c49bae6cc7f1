#include "lib/record_protocol.h"

#include <algorithm>
#include <cstdio>

#include "lib/errors.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/retry.h"
#include "lib/text_search.h"
#include "lib/use.h"

namespace lib {

namespace {

WorkArea& selectedArea() {
  WorkArea* a = G().areas->selectedArea();
  if (!a) throw RuntimeError(xbase::EG_NOTABLE, 1053, "no hay tabla en el área de trabajo seleccionada");
  return *a;
}

bool isServer(const WorkArea& a) {
  return a.rdd.rfind("ADS", 0) == 0;
}

// Inside a server transaction locks are remembered for its end, one by one.
bool inServerTransaction(const WorkArea& a) {
  return isServer(a) && G().XADSTRANS == 1;
}

std::string lockMessage(const WorkArea& a, uint32_t recno) {
  std::string text = "El dato se encuentra bloqueado: " + a.alias;
  if (isServer(a)) {
    char num[16];
    std::snprintf(num, sizeof num, "%10u", recno);
    text += std::string("/") + num;
  }
  return text;
}

RetryPolicy lockPolicy(const WorkArea& a, uint32_t recno) {
  RetryPolicy p;
  p.message = lockMessage(a, recno);
  p.counter = 1;
  p.file = a.path;
  if (isServer(a)) p.afterQuiet = [message = p.message] { G().XADS_T_ERR = message; };
  return p;
}

// Takes a registered record's texts out of the search index (locking) or puts them back
// (releasing; nothing for a deleted record).
void maintainTextSearch(int area, bool adding) {
  Globals& g = G();
  if (size_t(area) >= g.XTXT_SRCH_VECTOR.size() || !g.XTXT_SRCH_VECTOR[size_t(area)].registered || !g.XTXT_SRCH_OBJ)
    return;
  WorkArea* a = g.areas->area(area);
  if (!a || a->table->eof()) return;
  TableDriver& t = *a->table;
  if (adding && t.deleted()) return;
  const TextSearchSlot& slot = g.XTXT_SRCH_VECTOR[size_t(area)];
  auto text = [&](std::string_view field) {
    int i = t.fieldIndex(field);
    return i < 0 ? std::string() : t.get(i).text;
  };
  g.XTXT_SRCH_OBJ->setBusiness(text("NEGOCIO"));
  std::string document = text(slot.document);
  for (int i = 0; i < t.fieldCount(); ++i) {
    const xbase::Field& f = t.field(i);
    if (f.type != 'C' || f.length < 10 || f.name.rfind("INFO_U", 0) == 0) continue;
    std::string value = t.get(i).text;
    if (adding)
      g.XTXT_SRCH_OBJ->addText(document, value, slot.table);
    else
      g.XTXT_SRCH_OBJ->removeText(document, value, slot.table);
  }
}

// Lets go of the area's locks (or only `recno`'s), writing the record; a file busy for the
// write is tried again.
void release(WorkArea& a, int area, uint32_t recno, bool onlyRecord) {
  bool failedBefore = false;
  retryUntil(
      [&] {
        G().areas->select(area);
        if (failedBefore) a.table->goTo(recno);
        try {
          if (onlyRecord)
            a.table->unlockRecord(recno);
          else
            a.table->unlockAll();
          return true;
        } catch (const xbase::Error& e) {
          if (!e.canRetry()) throw;  // only a busy file is tried again; the rest is the handler's
          failedBefore = true;
          return false;
        }
      },
      {"El dato se encuentra bloqueado: " + a.alias, 2, nullptr, false, xbase::EG_LOCK, a.path});
}

void releaseRemembered() {
  Globals& g = G();
  std::vector<TransactionLock> locks = std::move(g.XA_RECORDS);
  g.XA_RECORDS.clear();
  for (const TransactionLock& l : locks) {
    WorkArea* a = g.areas->area(l.area);
    if (!a) continue;
    g.areas->select(l.area);
    if (g.XTRANS_TIPO == 1) {
      a->table->goTo(l.recno);
      if (!a->table->eof()) a->table->unlockRecord(l.recno);
    } else {
      a->table->unlockAll();
    }
  }
}

}  // namespace

void LOCK_FOR_MODIFY(WDBTable*, bool skip) {
  if (skip) return;
  Globals& g = G();
  int area = g.areas->selected();
  WorkArea& a = selectedArea();
  if (a.table->eof()) return;  // no record to lock; assigning fields will say so
  uint32_t recno = a.table->recNo();
  maintainTextSearch(area, false);
  retryUntil(
      [&] {
        g.areas->select(area);
        return a.table->lockRecord(recno);
      },
      lockPolicy(a, recno));
}

void UNLOCK_FOR_MODIFY(WDBTable*, bool skip) {
  if (skip) return;
  Globals& g = G();
  int area = g.areas->selected();
  WorkArea& a = selectedArea();
  uint32_t recno = a.table->recNo();
  maintainTextSearch(area, true);
  if (inServerTransaction(a)) {
    // The server holds the lock until the transaction ends; remember it for then.
    if (g.XTRANS_TIPO == 1) {
      g.XA_RECORDS.push_back({area, recno});
    } else if (std::none_of(g.XA_RECORDS.begin(), g.XA_RECORDS.end(),
                            [&](const TransactionLock& l) { return l.area == area; })) {
      g.XA_RECORDS.push_back({area, 0});
    }
    a.table->flush();
    g.server->ADSUNLOCKRECORD(area, recno);
    return;
  }
  release(a, area, recno, false);
}

namespace {

void modifyGroup(WDBTable& table, const std::vector<uint32_t>& recnos, const std::function<void()>& change) {
  Globals& g = G();
  SELECT(table.Area);
  WorkArea& a = selectedArea();
  int area = g.areas->selected();
  auto oneByOne = [&](size_t from) {
    for (size_t i = from; i < recnos.size(); ++i) {
      SELECT(table.Area);
      a.table->goTo(recnos[i]);
      MODIFY(table, change);
    }
  };
  if (inServerTransaction(a) || recnos.size() < 2) return oneByOne(0);
  std::vector<bool> taken = a.table->lockRecords(recnos);
  size_t i = 0;
  auto releaseRest = [&](size_t from) {
    g.areas->select(area);
    for (size_t j = from; j < recnos.size(); ++j)
      if (taken[j]) a.table->unlockRecord(recnos[j]);
  };
  try {
    for (; i < recnos.size(); ++i) {
      g.areas->select(area);
      if (!taken[i]) {
        // Somebody holds this one: the rest go through the retries (MODIFY lets go of
        // every lock of the area when it ends).
        releaseRest(i + 1);
        return oneByOne(i);
      }
      a.table->goTo(recnos[i]);
      if (!a.table->eof()) {
        maintainTextSearch(area, false);
        change();
        g.areas->select(area);
        maintainTextSearch(area, true);
      }
      release(a, area, recnos[i], true);
    }
  } catch (...) {
    releaseRest(i);  // the one being changed is written with what was assigned, as MODIFY does
    throw;
  }
}

}  // namespace

void modifyEach(WDBTable& table, const std::vector<uint32_t>& recnos, const std::function<void()>& change) {
  for (size_t at = 0; at < recnos.size(); at += kLocksPerRequest)
    modifyGroup(table,
                std::vector<uint32_t>(recnos.begin() + long(at),
                                      recnos.begin() + long(std::min(recnos.size(), at + kLocksPerRequest))),
                change);
}

void ADD_NEW_REC(WDBTable*, bool noWait) {
  Globals& g = G();
  int area = g.areas->selected();
  WorkArea& a = selectedArea();
  auto attempt = [&] {
    g.areas->select(area);
    try {
      return a.table->append();
    } catch (const xbase::Error& e) {
      if (!isNetworkSoftFailure(e)) throw;  // a refused append lock waits for the next attempt
      return false;
    }
  };
  if (noWait) {
    while (!attempt()) ++g.XRETRIES[1];
    return;
  }
  // The message names the record the append would make: worked out only when an append
  // is refused (on the server, the count is one more round trip).
  const int64_t first = g.clock->ticks();
  if (attempt()) return;
  ++g.XRETRIES[1];
  XDELAY(kRetryWaitMs);
  RetryPolicy policy = lockPolicy(a, a.table->recCount() + 1);
  policy.since = first;
  retryUntil(attempt, policy);
}

void addEach(WDBTable& table, size_t count, const std::function<void(size_t)>& fill) {
  Globals& g = G();
  SELECT(table.Area);
  WorkArea& a = selectedArea();
  int area = g.areas->selected();
  const bool oneByOne = inServerTransaction(a);
  for (size_t done = 0; done < count;) {
    size_t group = std::min(kLocksPerRequest, count - done);
    size_t reserved = oneByOne ? 0 : a.table->reserveAppends(group);
    for (size_t i = 0; i < group; ++i, ++done) {
      if (i >= reserved) {
        ADD(table, [&] { fill(done); });
        continue;
      }
      g.areas->select(area);
      ADD_NEW_REC(&table);
      uint32_t recno = a.table->recNo();
      try {
        fill(done);
      } catch (...) {
        g.areas->select(area);
        a.table->unlockAll();  // the new records, the one being filled with what was assigned
        throw;
      }
      release(a, area, recno, true);
    }
  }
}

void UNLOCK_NEW_REC(WDBTable* table) {
  UNLOCK_FOR_MODIFY(table);
}
void UNLOCK_NEW(WDBTable* table) {
  UNLOCK_FOR_MODIFY(table);
}

void COPY_REC1(std::vector<Value>& values) {
  TableDriver& t = *selectedArea().table;
  for (size_t i = 0; i < values.size() && int(i) < t.fieldCount(); ++i) values[i] = t.get(int(i));
}

void COPY_REC2(const std::vector<Value>& values) {
  TableDriver& t = *selectedArea().table;
  for (size_t i = 0; i < values.size() && int(i) < t.fieldCount(); ++i) t.put(int(i), values[i]);
}

void START_TRANSACTION(int kind, std::optional<int> id) {
  Globals& g = G();
  if (g.XADSPARAMS.size() > 3 && g.XADSPARAMS[3] == "1") kind = 2;
  bool server = g.DEF_RDD.rfind("ADS", 0) == 0;
  bool byLine2 = g.XADSPARAMS.size() > 1 && g.XADSPARAMS[1] == "1";
  bool byId = id && *id >= 1 && size_t(*id) <= g.XADS_TS.size() && g.XADS_TS[size_t(*id - 1)] == '1';
  if (!server || !(byLine2 || byId)) return;
  g.XA_RECORDS.clear();
  g.XADS_T_ERR.clear();
  g.XADSTRANS = 1;
  g.XTRANS_TIPO = kind;
  g.XTRANS_ID = id;
  g.server->ADSBEGINTRANSACTION();
}

void END_TRANSACTION() {
  Globals& g = G();
  if (g.XADSTRANS != 1) return;
  g.XADSTRANS = 0;
  g.server->ADSCOMMITTRANSACTION();
  releaseRemembered();
  CLEAR_FILEBAG();
}

void ROLLBACK_TRANSACTION() {
  Globals& g = G();
  if (g.XADSTRANS != 1) return;
  int previous = g.areas->selected();
  g.XADSTRANS = 0;
  g.server->ADSROLLBACK();
  releaseRemembered();
  CLEAR_FILEBAG();
  std::unique_ptr<WDBTable> log = USE(nullptr, "LOG_ROLL", "LOG_ROLL");
  ADD(*log, [&] {
    log->FieldPut("NEGOCIO", Value::chars(""));
    log->FieldPut("FECHA", Value::date(XDATE()));
    log->FieldPut("HORA", Value::chars(XTIME()));
    log->FieldPut("USUARIO", Value::chars(g.XUSER_ABREVIA));
    log->FieldPut("INFO_USER", Value::chars(INFO_TEXT()));
    if (!g.XADS_T_ERR.empty()) log->FieldPut("MOTIVO", Value::chars(g.XADS_T_ERR));
    if (g.XTRANS_ID) log->FieldPut("TRANS_ID", Value::num(*g.XTRANS_ID));
  });
  KILLTABLA(log);
  g.areas->select(previous);
}

}  // namespace lib
