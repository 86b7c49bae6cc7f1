#include "tools/demo_parameters.h"

#include <initializer_list>
#include <utility>
#include <vector>

#include "tools/demo_data.h"
#include "xbase/date.h"

namespace initdb {

namespace {

struct Entry {
  const char* code;
  const char* description;
};

// Another part of the demo may have filled a list (or a parameter record) of the business
// unit already; what is there stays as it is.
bool hasBusiness(xbase::DbfTable& t, const std::string& business) {
  for (t.goTop(); !t.eof(); t.skip())
    if (!t.deleted() && t.getString("NEGOCIO").substr(0, business.size()) == business) return true;
  return false;
}

// One record per entry and business unit: NEGOCIO, CODIGO and the description field.
void addList(const std::string& home, const std::string& table, std::initializer_list<const char*> businesses,
             const std::vector<Entry>& entries, const char* descriptionField = "DESCRIP") {
  auto t = openTable(home, table);
  for (const char* business : businesses) {
    if (hasBusiness(*t, business)) continue;
    for (const Entry& e : entries) {
      t->append();
      t->putString("NEGOCIO", business);
      t->putString("CODIGO", e.code);
      t->putString(descriptionField, e.description);
    }
  }
}

// Records keyed by a module as well (serial counters, accounting links).
void addModuleList(const std::string& home, const std::string& table, std::initializer_list<const char*> businesses,
                   const std::vector<Entry>& entries) {
  auto t = openTable(home, table);
  auto has = [&](const std::string& business, const std::string& code) {
    for (t->goTop(); !t->eof(); t->skip())
      if (!t->deleted() && t->getString("NEGOCIO").substr(0, 2) == business.substr(0, 2) &&
          t->getString("MODULO").substr(0, 2) == "09" &&
          t->getString("CODIGO").substr(0, std::string(code).size()) == code)
        return true;
    return false;
  };
  for (const char* business : businesses)
    for (const Entry& e : entries) {
      if (has(business, e.code)) continue;
      t->append();
      t->putString("NEGOCIO", business);
      t->putString("MODULO", "09");
      t->putString("CODIGO", e.code);
      t->putString("DESCRIP", e.description);
    }
}

void addLists(const std::string& home) {
  const auto both = {"01", "02"};
  addList(home, "MONEDAS", both, {{"01", "Colones"}, {"02", "Dólares Americanos"}, {"03", "Euros"}});
  addList(home, "TRANSACS", both,
          {{"HOSP", "Hospedaje"},
           {"NOSH", "Cargo por No Show"},
           {"AJUS", "Ajuste Saldo Menor"},
           {"AJCX", "Ajuste Cuentas por Cobrar"},
           {"EFEC", "Pago en Efectivo"},
           {"TARJ", "Pago con Tarjeta"},
           {"MREC", "Moneda Recibida"},
           {"VUEL", "Vuelto"},
           {"ENTR", "Entrega de Dinero"},
           {"SOBR", "Sobrante de Caja"},
           {"FALT", "Faltante de Caja"}});
  {
    auto t = openTable(home, "T_EST_HA");
    const struct {
      const char *code, *description;
      int blocked, outOfOrder;
    } states[] = {{"01", "Libre Limpia", 0, 0},      {"02", "Libre Sucia", 0, 0},    {"03", "Reservada", 0, 0},
                  {"04", "Ocupada", 0, 0},           {"05", "Salida del Día", 0, 0}, {"06", "Bloqueada", 1, 0},
                  {"07", "Fuera de Servicio", 1, 1}, {"08", "En Inspección", 0, 0}};
    for (const char* business : both) {
      if (hasBusiness(*t, business)) continue;
      for (const auto& s : states) {
        t->append();
        t->putString("NEGOCIO", business);
        t->putString("CODIGO", s.code);
        t->putString("DESCRIP", s.description);
        t->putNumber("BLOQUEADO", s.blocked);
        t->putNumber("OUTORDER", s.outOfOrder);
      }
    }
  }
  addModuleList(home, "SERIALES", both,
                {{"RESE", "Reservaciones"},
                 {"FOLI", "Folios"},
                 {"MAES", "Cuentas Maestras"},
                 {"FACT", "Facturas Hotel"},
                 {"COMP", "Comprobantes"},
                 {"WALK", "Walk-In"},
                 {"WAIT", "Lista de Espera"},
                 {"AMAL", "Toma Física Ama de Llaves"}});
  {
    // Counters of other modules: the frequent-guest and ticket lists offer every one.
    auto t = openTable(home, "SERIALES");
    for (const char* business : both)
      for (const Entry& e : std::vector<Entry>{{"TIQU", "Tiquetes A y B"}, {"FREC", "Cliente Frecuente"}}) {
        t->append();
        t->putString("NEGOCIO", business);
        t->putString("MODULO", "12");
        t->putString("CODIGO", e.code);
        t->putString("DESCRIP", e.description);
      }
  }
  addList(home, "TIPO_HUE", both, {{"ADUL", "Adulto"}, {"NINO", "Niño"}, {"INFA", "Infante"}});
  addList(home, "IDIOMAS", both, {{"ES", "ESPAÑOL"}, {"EN", "INGLÉS"}, {"FR", "FRANCÉS"}, {"DE", "ALEMÁN"}});
  addList(home, "ENC_RACK", both,
          {{"RACK", "Tarifa Rack"},
           {"CORP", "Tarifa Corporativa"},
           {"WEB", "Tarifa Internet"},
           {"PAQ", "Paquete Todo Incluido"},
           {"GOB", "Tarifa Gobierno"}});
  addList(home, "DEF_BRAS", both,
          {{"AZUL", "Azul - Adulto Todo Incluido"},
           {"VERD", "Verde - Niño Todo Incluido"},
           {"AMAR", "Amarillo - Adulto sin Licor"},
           {"NARA", "Naranja - Niño sin Licor"},
           {"ROJO", "Rojo - Day Pass"},
           {"MORA", "Morado - Noche"},
           {"BLAN", "Blanco - Crucero"}});
  addList(home, "PREDET_P", both,
          {{"01", "Impresora de Recepción"},
           {"02", "Fax de Reservaciones"},
           {"03", "Impresora de Facturas"},
           {"04", "Impresora de Comprobantes"}});
  addList(home, "AGENTES", both, {{"0001", "María Rodríguez"}, {"0002", "José Vargas"}}, "NOMBRE");
  addList(home, "CAJA_ENC", both, {{"01", "Caja Recepción"}, {"02", "Caja Restaurante"}});
  addModuleList(home, "LIGAS", both,
                {{"HOSP", "Huéspedes en Casa"}, {"DIFC", "Diferencial Cambiario"}, {"DEPO", "Depósitos Recibidos"}});
  addList(home, "PAISES", both,
          {{"CR", "Costa Rica"}, {"USA", "Estados Unidos"}, {"CAN", "Canadá"}, {"ESP", "España"}, {"MEX", "México"}});
  addList(home, "AGENCIAS", both,
          {{"DIRECTO", "Reservas Directas"},
           {"EXPEDIA", "Expedia"},
           {"BOOKING", "Booking.com"},
           {"TRAVELNET", "Travel Net Costa Rica"}});
  addList(home, "TIP_RES1", both, {{"IND", "Individual"}, {"GRU", "Grupos"}, {"COR", "Corporativo"}});
  addList(home, "TIP_RES2", both, {{"VAC", "Vacaciones"}, {"NEG", "Negocios"}, {"CON", "Congresos"}});
  addList(home, "E_T_RES", both,
          {{"GT", "Garantizada con Tarjeta"}, {"DE", "Con Depósito"}, {"SG", "Sin Garantía"}, {"WI", "Walk-In"}});
  addList(home, "COM_ENT", both,
          {{"WEB", "Sitio Web del Hotel"}, {"TEL", "Teléfono"}, {"MAIL", "Correo Electrónico"}, {"AGE", "Agencia"}});
  addList(home, "VENDEDOR", both, {{"0001", "Carlos Mora"}, {"0002", "Ana Solís"}});
  addList(home, "UB_MESA", both, {{"TERR", "Terraza"}, {"SALO", "Salón Principal"}, {"PISC", "Piscina"}});
  addList(home, "CLAS_CTA", both, {{"HUES", "Huésped"}, {"CORT", "Cortesía"}, {"EMPL", "Empleado"}});
  addList(home, "DEF_AREA", both, {{"REST", "Restaurante"}, {"BAR", "Bar Piscina"}});
  addList(home, "SRP", both, {{"RACK", "Rack Walk-In"}, {"PROM", "Promoción Walk-In"}});
  addList(home, "T_PAGO", both, {{"EFE", "Efectivo"}, {"TAR", "Tarjeta de Crédito"}, {"CXC", "Cuenta por Cobrar"}});
  addList(home, "TIPO_IMP", both,
          {{"IVA", "Impuesto al Valor Agregado 13%"}, {"ISH", "Impuesto de Servicio 10%"}, {"EXE", "Exento"}});
}

void addHotel(const std::string& home, const std::string& business, int32_t closing, int rooms) {
  auto h = openTable(home, "F_HOTEL");
  if (!hasBusiness(*h, business)) {
    h->append();
    h->putString("NEGOCIO", business);
    h->putDate("CIERRE_DIA", closing);
    h->putDate("F_INICIO", xbase::julianFromYmd(2008, 4, 30));
    h->putNumber("CANT_ROOMS", rooms);
    h->putString("HORA_IN", "15");
    h->putString("MINU_IN", "00");
    h->putString("HORA_OUT", "12");
    h->putString("MINU_OUT", "00");
    h->putString("HORA_C1", "23");
    h->putString("HORA_C2", "30");
    h->putNumber("CREDITO", 1);
    h->putNumber("MONTO_CRE", 1500000);
    h->putNumber("CONTA", 1);
    h->putString("DOC_CHK_IN", "Tarjeta de Registro");
    h->putString("MONEDA_RES", "02");
    h->putString("MON_D_TRAN", "01");
    h->putString("TRANS_NOSH", "NOSH");
    h->putString("IN_EST_HA", "04");
    h->putString("OUT_EST_HA", "02");
    h->putString("ULT_EST_HA", "05");
    h->putString("CAMBIO_HAB", "02");
    h->putString("LIBRE", "01");
    h->putString("LIBRE_RES", "03");
    h->putString("SERIAL_RES", "RESE");
    h->putString("SERIAL_FOL", "FOLI");
    h->putString("SERIAL_MAE", "MAES");
    h->putString("SERIAL_FAC", "FACT");
    h->putString("SERIAL_CMP", "COMP");
    h->putString("SERIAL_WAL", "WALK");
    h->putString("RES_PEND", "WAIT");
    h->putString("TIP_ADULT", "ADUL");
    h->putString("TIP_NINHO", "NINO");
    h->putString("I_CONFIRMA", "ES");
    h->putString("MAE1_STAT", "RACK");
    h->putNumber("DIF_PREPAG", 5);
    h->putString("AJUSTE", "AJUS");
    h->putNumber("BRASALETE", business == "02" ? 1 : 0);
    h->putString("BRAS_ADULT", business == "02" ? "AZUL" : "");
    h->putString("BRAS_NINHO", business == "02" ? "VERD" : "");
    h->putNumber("IMP_RESE", 1);
    h->putString("COD_IMP_R", "01");
    h->putString("COD_IMP_F", "02");
    h->putString("COD_IMP_F2", "03");
    h->putString("COD_IMP_T", "04");
    h->putString("DOC_AGENTE", "0001");
    h->putString("DOC_CAJA", "01");
    h->putString("AUN_HOSP", "HOSP");
    h->putString("FOL_MASTER", "Folio Master");
    h->putString("FOL_EXTRA", "Folio Extras");
    h->putNumber("DO_VENCE", 1);
    h->putString("PAIS_DEF", "CR");
    h->putNumber("BLOQ_FOL", 2);
    h->putNumber("R1_ORDEN", 2);
    h->putString("R1_HORA", "06:00");
    h->putNumber("R2_SEGMENT", 1);
    h->putNumber("R3_SEGMENT", 2);
    h->putNumber("R3_ACUM", 1);
    h->putString("R3_TARIFA", "RACKCORP|");
    h->putNumber("VTA_RES", 85);
    h->putNumber("TCAMB_REP", 1);
    h->putNumber("T_REG", 0);
    h->putNumber("CTRL_DISPO", 1);
    h->putNumber("CTRL_TIPO", 0);
    h->putNumber("CTRL_TIPO2", 1);
    h->putNumber("N_CEDULA", 9);
    h->putNumber("TOT_TRANS", 1);
    h->putNumber("SEND_AGRA", 1);
    const char* accessories[] = {
        "Aire Acondicionado", "Televisión por Cable", "Caja de Seguridad", "Minibar", "Secadora de Pelo", "Balcón"};
    for (int i = 0; i < 6; ++i) h->putString("ACCESORIO" + std::to_string(i + 1), accessories[i]);
    h->putString("EMAIL_RES", business == "02" ? "reservas@hoteldeplaya.cr" : "reservas@hotelprincipal.cr");
    h->putString("NOM_EMAIL", business == "02" ? "Hotel de Playa" : "Hotel Principal");
    h->putNumber("PROM_ALLOT", 3);
    h->putString("MAE_CLAS1", "GRU");
    h->putString("MAE_CLAS2", "VAC");
    h->putString("MAE_AGEN", "");
    h->putString("MAE_PAIS", "");
    h->putString("TIPO_WALK", "WI");
    h->putString("HUES_WALK", "ADUL");
    h->putString("RACK_WALK", "RACK");
    h->putNumber("ROT_CIERRE", 1);
    h->putNumber("CONF_DEL", 1);
    h->putNumber("LOG_HIST", 1);
    h->putNumber("CREAR_FOL", 1);
    h->putString("REF_DEF", "WEB");
    h->putNumber("COD_FAC", 3);
    h->putString("AJ_CXC", "AJCX");
    h->putNumber("MARG_NEG", 100);
    h->putNumber("TRS_CAMBIO", 1);
    h->putNumber("ENTREGA", 1);
    h->putNumber("VUELTO", 1);
    h->putString("TRS_VUELTO", "MREC");
    h->putString("TRS_MONEDA", "VUEL");
    h->putString("T2_VUELTO", "MREC");
    h->putString("T2_MONEDA", "VUEL");
    h->putString("TRS_ENTREG", "ENTR");
    h->putString("T_SOBRANTE", "SOBR");
    h->putString("T_FALTANTE", "FALT");
    h->putString("PAG_EFEC", "EFE");
    h->putString("F_PAGO_CXC", "CXC");
    h->putString("F_PAGO_ADJ", "EFE");
  }

  auto h2 = openTable(home, "F_HOTEL2");
  if (!hasBusiness(*h2, business)) {
    h2->append();
    h2->putString("NEGOCIO", business);
    h2->putNumber("CALC_TAR", 0);
    h2->putNumber("CAN_WAIT", 1);
    h2->putNumber("PROYECTA", 30);
    h2->putNumber("PROYECTA2", 7);
    h2->putString("FAC_HEAD1", business == "02" ? "Hotel de Playa S.A." : "Hotel Principal S.A.");
  }

  auto h3 = openTable(home, "F_HOTEL3");
  if (!hasBusiness(*h3, business)) {
    h3->append();
    h3->putString("NEGOCIO", business);
    h3->putNumber("TIPO_STAT", 1);
    h3->putNumber("DO_STATACT", 1);
    h3->putNumber("TIP_RECALC", 1);
    h3->putNumber("FACTURA_E", 0);
    h3->putString("NAC_INT", "  ");
    h3->putString("DESBLOQUEA", "02");
    h3->putNumber("SHOW_X_TIP", 1);
    h3->putNumber("T_SOCIAL", 0);
    // The usual forecast: in-house, arrivals, departures, occupancy, free and available rooms.
    const int lines[] = {1, 2, 3, 4, 5, 10, 16, 17, 20, 23, 24};
    for (int n : lines) h3->putNumber("PRO_HAB" + std::to_string(n), 1);
    for (int n = 1; n <= 25; ++n) h3->putNumber("COLOR_H" + std::to_string(n), n % 6);
    h3->putString("ROT_MONTO1", "Hospedaje");
    h3->putString("ROT_MONTO2", "Alimentos y Bebidas");
    h3->putString("ROT_MONTO3", "Servicios");
    h3->putString("ROT_MONTO4", "Otros");
    h3->putString("MON_CRED", "01");
    h3->putString("UBICACION", "SALO");
    h3->putString("T_CUENTA", "HUES");
    h3->putString("AREA", "REST");
    h3->putString("DIFF_CAMB", "DIFC");
    h3->putString("SERI_TIQ", "TIQU");
    h3->putString("SER_FREC", "FREC");
    h3->putString("SRP_WALK", "RACK");
    h3->putNumber("MARGEN_DEP", 10);
    h3->putNumber("DESAYU_1", 1);
    h3->putNumber("MIN_PEND", 30);
    h3->putString("SERIAL_AMA", "AMAL");
    h3->putString("AGE_DAY", "DIRECTO");
    h3->putString("M_DAYPASS", "02");
    h3->putString("BRAZ_AD", "ROJO");
    h3->putString("BRAZ_ND", "ROJO");
    h3->putString("BRAZ_CR_A", "BLAN");
    h3->putString("BRAZ_CR_N", "BLAN");
    h3->putString("ITM_EXENTO", "EXE");
    h3->putString("ROT_EXENTO", "Exento de Impuestos");
  }

  auto h4 = openTable(home, "F_HOTEL4");
  if (!hasBusiness(*h4, business)) {
    h4->append();
    h4->putString("NEGOCIO", business);
    h4->putString("ROT_CLASE1", "Todo Incluido");
    h4->putString("ROT_CLASE2", "Sin Licor");
  }
}

}  // namespace

void addParameterDemo(const std::string& home) {
  addLists(home);
  addHotel(home, "01", xbase::julianFromYmd(2024, 5, 14), 96);
  addHotel(home, "02", xbase::julianFromYmd(2024, 5, 14), 48);
}

}  // namespace initdb
