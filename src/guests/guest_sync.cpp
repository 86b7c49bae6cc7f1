#include "guests/guest_sync.h"

#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/use.h"

namespace guests {

void QUEUE_SABRE(const std::string& negocio, const SabreRequest& request) {
  using lib::Value;
  auto queue = lib::USE(nullptr, "E_SABRE", "E_SABRE");
  lib::ADD(*queue, [&] {
    queue->FieldPut("NEGOCIO", Value::chars(negocio));
    queue->FieldPut("PROCESADO", Value::num(0));
    queue->FieldPut("TIPO", Value::num(request.tipo));
    queue->FieldPut("SUBTIPO", Value::num(request.subtipo));
    queue->FieldPut("AGENCIA", Value::chars(request.agencia));
    queue->FieldPut("ID_PMS", Value::chars(request.idPms));
    queue->FieldPut("F1_PROFILE", Value::date(request.desde));
    queue->FieldPut("F2_PROFILE", Value::date(request.hasta));
    queue->FieldPut("USUARIO", Value::chars(lib::G().XUSER_ABREVIA));
    queue->FieldPut("FECHA", Value::date(lib::XDATE()));
    queue->FieldPut("HORA", Value::chars(lib::XTIME()));
  });
  lib::KILLTABLA(queue);
}

}  // namespace guests
