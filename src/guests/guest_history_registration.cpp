// "Lista de Huéspedes" and its "Editar" entries.
#include "guests/b_huesp.h"
#include "screens/registry.h"

namespace guests {

namespace {

// Outside the rights (2000-7000): everybody who may open the list may search it.
constexpr int kDuplicatesEntry = 9147;

}  // namespace

SCREEN_REGISTRATION(registerGuestHistory) {
  using S = B_HUESP;
  screens::editMenu(
      S::kMenuId,
      {screens::entry(3148, "Agregar    ", &S::ADD_HUESP), screens::entry(3149, "Modificar  ", &S::MOD_HUESP),
       screens::entry(3150, "Borrar     ", &S::DEL_HUESP), screens::separator(),
       screens::entry(6216, "Borrar Syncronización", &S::BORRAR_SYNC),
       screens::entry(6217, "Syncronizar por Fechas", &S::SYNC_FECHAS),
       screens::entry(6218, "Syncronizar Profile Actual", &S::SYNC_PROFILE), screens::separator(),
       screens::entry(3465, "Exportar", &S::EXPORTAR), screens::entry(3466, "Importar", &S::IMPORTAR),
       screens::entry(3469, "Actualizar mails válidos", &S::ACT_MAILS), screens::separator(),
       screens::entry(4681, "Registrar como Cliente Frecuente", &S::REG_FRECUENTE),
       screens::entry(4682, "Quitar Membresía de Cliente Frecuente", &S::QUITAR_FRECUENTE),
       screens::entry(4684, "Activar Membresía y Completar datos para Cliente Frecuente ", &S::ACTIVAR_FRECUENTE),
       screens::separator(), screens::entry(kDuplicatesEntry, "Buscar Duplicados...", &S::DUPLICADOS)});
  screens::opens<B_HUESP>("B_HUESP");
}

}  // namespace guests
