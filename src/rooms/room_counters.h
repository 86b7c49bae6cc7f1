// The counters the rooms screens keep consistent, written once for all of them:
//
//   TIPO_ROM.CANTIDAD   = rooms of the type;
//   CLAS_ROM.CANTIDAD   = the sum of CANTIDAD over the types of the class;
//   F_HOTEL.CANT_ROOMS  = rooms of the business unit;
//   ROOMS.CLASE         = the class of the room's type;
//   the TOTAL (and LIBRE) of the availability rows follow the room counts from a date on;
//   the reservation table has a row per room for every date already generated.
//
// Every change is made in place under the record's lock (an increment, never a recount),
// so that it adds to whatever other workstations stored meanwhile. A missing counter
// record (type, class, hotel parameters) is passed over.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rooms {

// The class of a room type, or nothing when the type does not exist.
std::optional<std::string> CLASE_DEL_TIPO(const std::string& negocio, const std::string& tipo);

// TIPO_ROM.CANTIDAD, CLAS_ROM.CANTIDAD and F_HOTEL.CANT_ROOMS moved by `delta`.
void SUMA_TIPO(const std::string& negocio, const std::string& tipo, double delta);
void SUMA_CLASE(const std::string& negocio, const std::string& clase, double delta);
void SUMA_CANT_ROOMS(const std::string& negocio, double delta);

// The availability rows of (class, type) and the class-total rows of the class, dated
// `desde` or later: TOTAL and LIBRE moved by `delta` (CAM_TOTAL_Y_LIBRE).
void SUMA_DISPONIBLE(const std::string& negocio, const std::string& clase, const std::string& tipo, int32_t desde,
                     double delta);
// The class-total rows of the class alone.
void SUMA_DISPONIBLE_CLASE(const std::string& negocio, const std::string& clase, int32_t desde, double delta);
// The hotel-total rows (STAT_TOT) of the business unit dated `desde` or later.
void SUMA_STAT_TOT(const std::string& negocio, int32_t desde, double delta);

// A room more (+1) or less (-1) of type `tipo`, from `desde`: the type, its class and the
// availability rows of both. False (nothing changed) when the type does not exist.
bool SUMA_ROOM_DE_TIPO(const std::string& negocio, const std::string& tipo, int32_t desde, double delta);

// The room's blocked nights — its reservation-table rows dated `desde` or later in a state with
// BLOQUEADO = 1, out of order too when the state has OUTORDER = 1 — counted (`sign` 1) on, or
// taken (-1) from, the availability rows of type `tipo` and its class (CAM_BLOQUEO): what a
// room brings to or takes from a type when it changes type or leaves.
void SUMA_BLOQUEOS_ROOM(const std::string& negocio, const std::string& room, const std::string& tipo, int32_t desde,
                        int sign);

// A room appended to ROOMS (`room`, of type `tipo`) counts from `desde`: the hotel's room count
// and its hotel-total rows (STAT_TOT), and when the type exists its type, class and
// availability rows, and its reservation-table rows for every date already generated
// (state F_HOTEL.LIBRE). False when the type does not exist.
bool ROOM_AGREGADA(const std::string& negocio, const std::string& room, const std::string& tipo, int32_t desde);
// A room about to be deleted from ROOMS no longer counts from `desde`: the same counters
// less one, its blocked nights taken back, and its reservation-table rows from `desde` on and
// its accessory and quality rows are deleted.
void ROOM_BORRADA(const std::string& negocio, const std::string& room, const std::string& tipo, int32_t desde);

// Recounts, stored in the record: the rooms of a type; the rooms of all types of a class.
int RECUENTA_TIPO(const std::string& negocio, const std::string& tipo);
int RECUENTA_CLASE(const std::string& negocio, const std::string& clase);

// Every room of the type takes the class.
void CLASE_A_ROOMS(const std::string& negocio, const std::string& tipo, const std::string& clase);
// The rooms of the type are left without type and class (the type is gone).
void QUITA_TIPO_A_ROOMS(const std::string& negocio, const std::string& tipo);

// The availability rows of a new type: for every date from `desde` to the last date of the
// business unit's availability rows and every class of the business unit, the row (class,
// type, date) is created when missing, with TOTAL = LIBRE = `cantidad` and SHOW1 = 1 where
// the class is the type's; a missing class-total row (of the shape the table generation
// makes) is created too, with the class's room count. Returns the rows created.
int CREA_DISPONIBLE_TIPO(const std::string& negocio, const std::string& tipo, const std::string& claseDelTipo,
                         double cantidad, int32_t desde);
// The type now belongs to `clase`: its rows dated `desde` or later show (SHOW1) in that class only.
void SHOW_TIPO_EN_CLASE(const std::string& negocio, const std::string& tipo, const std::string& clase, int32_t desde);

// The occupancy ceiling `tope` (percent) copied into the availability rows dated `desde`
// or later — of a type (its rows in every class), or the class-total rows of a class:
// LIM_TOPE := tope; ALTERA_TOP := 1 when P_OCUP >= LIM_TOPE > 0, else 0; NOTIF_TOPE := 0
// while P_OCUP < LIM_TOPE.
void TOPE_TIPO(const std::string& negocio, const std::string& tipo, double tope, int32_t desde);
void TOPE_CLASE(const std::string& negocio, const std::string& clase, double tope, int32_t desde);

// The reservation table.
// Whether a row of the room dated `desde` or later is pre-assigned or holds a reservation.
bool ROOM_COMPROMETIDA(const std::string& negocio, const std::string& room, int32_t desde);
// The rows of `oldCode` renamed date by date from `desde`, up to the first date without one.
void RENOMBRA_TAB_RESE(const std::string& negocio, const std::string& oldCode, const std::string& newCode,
                       int32_t desde);
// The room's rows dated `desde` or later take the class.
void CLASE_TAB_RESE(const std::string& negocio, const std::string& room, const std::string& clase, int32_t desde);
// The room's rows dated `desde` or later, deleted.
void BORRA_TAB_RESE(const std::string& negocio, const std::string& room, int32_t desde);

}  // namespace rooms
