#include "app/module_menu.h"

#include <functional>

namespace app {

namespace {

MenuEntry entry(std::string caption, int id, std::string screen, std::string dialog, Special special = Special::None,
                int mode = 0) {
  MenuEntry e;
  e.caption = std::move(caption);
  e.id = id;
  e.screen = std::move(screen);
  e.dialog = std::move(dialog);
  e.special = special;
  e.mode = mode;
  return e;
}

MenuEntry menu(std::string caption, std::vector<MenuEntry> entries) {
  MenuEntry e;
  e.caption = std::move(caption);
  e.submenu = std::move(entries);
  return e;
}

}  // namespace

const std::vector<MenuEntry>& moduleMenu() {
  static const std::vector<MenuEntry> menus = {
      menu("&Archivo",
           {menu("Mantenimientos",
                 {entry("Meses Activos Módulos", 2915, "ED_M_ACT", ""),
                  entry("Impresoras Predeterminadas", 2782, "PREDET_P", ""),
                  entry("Perfiles de Usuario", 2000, "USUARIOS", "", Special::CaptureMarks),
                  entry("Cambio de Clave de Acceso", 2904, "CH_PASSWD", "", Special::UserName),
                  entry("Acceso Fecha/Hora", 4660, "FEC_HORA", ""),
                  entry("Cambio email Usuario", 4696, "U_EMAIL", ""),
                  entry("Fuente Despliegue de Datos", 2152, "DEF_SYSFONT", "SYS_FONT", Special::MainWindow),
                  entry("Parámetros Manipulación DB", 2539, "DEF_SYSDB", "SYS_DB", Special::MainWindow),
                  entry("Definición de Tipos de Letras", 0, "", ""),
                  entry("Definición de Revisión de Tipos de Cambio", 2905, "NEG_CAMB", ""),
                  entry("Definición de Monedas", 2783, "MONEDA", ""),
                  entry("Definición de Tipos de Cambio ", 2901, "T_CAMBIO", ""),
                  entry("Definición de Seriales", 2841, "MANT_SER", "MANT_SERIAL"),
                  entry("Optimización de Archivo", 3814, "OPT_FILE", ""),
                  entry("Log de Errores Registrados", 2588, "VIEW_ERRORS", ""),
                  entry("Log de Entradas Registradas", 2590, "VIEW_E_S", ""),
                  entry("Log de Rollbacks Transaccionales", 4146, "VIEW_ROLLBACK", ""),
                  entry("Log Envío de emails", 6282, "E_MSGS", ""),
                  entry("Información ADS Connections", 6361, "ADSINFO", "ADS_INFO"),
                  menu("E-Mails", {entry("Parámetros Globales", 2987, "EMAIL6", "F_MAIL")}),
                  menu("Credit Card Interfaces",
                       {entry("Configuración de Estaciones", 6190, "P_ELECT", ""),
                        entry("Asignación Estación a PC", 6194, "A_ELECT", ""),
                        menu("Cierres", {entry("Cierre Banco Nacional Costa Rica", 6195, "POSWARE", ""),
                                         menu("Cierres Credomatic",
                                              {entry("Pre-Cierre Credomatic", 6196, "CREDOMAT", "", Special::None, 1),
                                               entry("Cierre Credomatic", 6197, "CREDOMAT", "", Special::None, 2)})})}),
                  menu("Soporte", {entry("Definición de Encargados", 6501, "DEF_ENCA", ""),
                                   entry("Definición de Clientes", 6502, "DEF_NEGO", ""),
                                   entry("Definición de Solicitud", 6503, "DEF_SOLI", "")})}),
            entry("Salir", 0, "", "", Special::Exit)}),
      menu("Parámetros Generales",
           {entry("Parámetros de Control   ", 3049, "PARAMET", ""),
            entry("Parámetros de Control #2", 3975, "PARAMET2", ""),
            entry("Parámetros de Control #3", 3744, "PARAM2", "PARAMET_F"),
            entry("Parámetros de Control #4", 0, "PARAMET3", ""),
            entry("Definición de Botones para Cargos", 3505, "F_CARGOS", ""),
            entry("Definición de Botones para Prepagos", 3674, "BOT_PREP", ""),
            entry("Definición de Botones para Paquetes", 3881, "BOT_PAQ", ""),
            entry("Definición de Botones para Observaciones", 4351, "SHORT_O", ""),
            entry("Rótulos para Tipos de Comisiones", 5118, "ED_ROT", ""),
            entry("Configuración Accesorios", 3648, "DATOS_AC", ""),
            entry("Configuración Accesibilidad Observaciones", 5270, "SHOW_OBS", ""),
            entry("Mails Programados", 5091, "MAIL_T", ""),
            entry("Definición Reportes Gráficos", 3397, "H_GRAPH_H", ""),
            entry("Gráficos Diseñados por Usuario", 3401, "GRAPH_H", "REP_GRAPH_H"),
            menu("Formatos Personales", {entry("Formato Tarjeta Registro", 3455, "INFO_HOT1", "INFO_HOTEL1"),
                                         entry("Formato de Facturas Blanco", 3456, "INFO_HOT2", "INFO_HOTEL2"),
                                         entry("Formato de Facturas Pre-I.", 3457, "FORMA_HOT", "FORMA_HOTEL"),
                                         entry("Formato de Comprobante", 3536, "INFO_HOT3", "INFO_HOTEL3")}),
            entry("Optimizar Base de Datos", 3167, "OPT_HOTEL", ""),
            entry("Congruencia de Datos", 4344, "CONGRUEN", ""),
            entry("Actualizar Source of Business", 4345, "CALC_EST", ""),
            entry("Actualizar Reporte Corporativo", 4346, "CALC_ST2", ""),
            entry("Actualizar Campo de Impuestos Exentos en detalle de Folios", 4553, "RECALC1", ""),
            entry("Recalculo de Campos de Control de Prepagos", 4615, "SAL_DEP", ""),
            entry("Recalculo de Campos de Impuestos Gravados de Folios", 4661, "CAL_FOL", ""),
            menu("Configuración Módulos Externos",
                 {entry("Definición de Ligas Contables", 2487, "MANT_LIG", "MANT_LIGA"),
                  entry("Definición de Digitadores", 2832, "HECHOPOR", "MONEDA"),
                  menu("Definiciones Clientes CxC",
                       {entry("Definición de Clientes        ", 2833, "CLIENTE", "CLIENTES"),
                        entry("Definición Clasificación de Clientes", 2840, "CLASCLIE", "MONEDA"),
                        entry("Definición Clasificación de SubClientes", 2755, "CLASCL2", ""),
                        entry("Definición Categorías de Clientes", 2927, "CATEGORS", "")})}),
            menu("Reporte Corportativo",
                 {entry("Definición de Reportes Corporativos", 3772, "ENC_CORP", ""),
                  entry("Definición de Clasificaciones de Transacciones", 3777, "CLAS_TRA", "")}),
            entry("Definición de Formatos de Reservas Registradas", 3833, "DEF_RESE", ""),
            menu("Ordenes de Trabajo", {entry("Definición de Trabajadores", 5947, "TRAB_WO", ""),
                                        entry("Encargados de Autorizar", 5951, "USR_WO", ""),
                                        entry("Definición de Tipos de Ordenes de Trabajo", 5955, "TIPO_WO", ""),
                                        entry("Definición de Etapas", 5959, "ETAP_WO", ""),
                                        entry("Definición Articulos Adicionales", 6121, "ART_WO", "")}),
            menu("Control de Artículos de Hotel",
                 {entry("Definición de Puntos de Manejo de Articulos", 6234, "PUNTO_HT", ""),
                  entry("Definición de Tipos de Articulos", 6238, "T_AR_HT", ""),
                  entry("Definición de Artículos", 6226, "ART_HOT", ""),
                  entry("Definición de Conceptos para Movimientos de Articulos", 6230, "CON_MVHT", ""),
                  entry("Asignar Punto a Estación", 6250, "INIT_PTO", ""),
                  entry("Parámetros Generales", 6251, "F_MVHT", "")})}),
      menu("Transacciones", {entry("Definición de Transacciones", 3054, "CARGOS", ""),
                             entry("Definición de Formas de Pagos", 3079, "DEF_PAGO", ""),
                             entry("Tipos de Impuestos", 3062, "TIPO_IMP", ""),
                             entry("Definición de Artículos p/Transacciones", 3561, "D_H_ART", ""),
                             entry("Definición de Clasificación de Paquetes", 3887, "D_CLAS_P", ""),
                             entry("Precios Especiales Paquetes", 5307, "DET_TRA4", ""),
                             entry("Definición de Recursos", 3872, "DEF_REC", ""),
                             entry("Definición de Clasificación de Recursos", 4045, "D_CLAS_R", ""),
                             entry("Definición Cajas Recepción", 3021, "HCAJAS", "DLG_HCAJAS"),
                             entry("Autorización Cajas x Estación", 3714, "HDEF_CAJA", ""),
                             entry("Apertura/Cierre de Cajas", 0, "HCAJAS2", "DLG_HCAJAS2")}),
      menu("Habitaciones",
           {entry("Habitaciones Definidas", 3087, "ROOMS", ""), entry("Tipos de Habitaciones", 3091, "TIPO_ROM", ""),
            entry("Clases de Habitaciones", 3095, "CLAS_ROM", ""),
            entry("Clases Permitidas x Usuario", 5112, "ASSIGN_U", ""),
            entry("Tipos de Ubicaciones", 3099, "UBIC_ROM", "TIPO_UBICACION"),
            entry("Grupos Tipos de Habitaciones", 5572, "GR_ROOM", ""),
            entry("Grupos de Ingresos", 5577, "DEF_INGR", ""),
            entry("Accesorios de Habitaciones", 3103, "ACC_ROM", "TIPO_ACC"),
            entry("Cualidades de Habitaciones", 3107, "CUAL_ROM", "TIPO_CUAL"),
            entry("Definición de Camareras   ", 3554, "DEF_CAMA", ""),
            entry("Definición de Supervisoras", 5920, "DEF_SUP", ""),
            entry("Definición de Inspectoras", 6175, "DEF_INSP", ""),
            entry("Definición Usuarios Web-Page", 5935, "U_RENTAL", ""),
            entry("Recodificación Habitaciones", 3893, "RECOD_R", "RECOD_ROOM"),
            menu("Estadísticas de Habitaciones", {entry("Cálculo de Disponibilidad", 3068, "STAT_TIP", "")})}),
      menu("Reservaciones",
           {entry("Tipos Garantía Reservaciones", 3111, "BROW_TR", ""),
            entry("Tabla Habitaciones Reservadas", 3115, "TAB_RESE", "TABLA_RESERVAS"),
            entry("Generar Tabla de Reservaciones", 3119, "TAB_GENE", ""),
            entry("Super-Clases Reservaciones #1", 6116, "ET_RES1", ""),
            entry("Clases de Reservaciones #1", 3323, "TIP_RES1", ""),
            entry("Clases de Reservaciones #2", 3327, "TIP_RES2", ""),
            entry("Definición SRP", 4816, "MANT_SRP", ""),
            entry("Definición de Regiones", 3337, "REG_SB", ""),
            entry("Def. Selección Vencimientos", 3652, "I_VENCE", ""),
            entry("Definición de Fuentes", 3050, "COM_ENT", ""),
            menu("Huéspedes Repetitivos", {entry("Lista de Huéspedes", 3147, "B_HUESP", ""),
                                           entry("Consulta de Huéspedes", 3467, "C_H_HUES", "C_H_HUESP"),
                                           entry("Negocios de Referencia", 3477, "H_NEGS", "")}),
            entry("Tipos de Huésped ", 3151, "TIPO_HUE", ""),
            entry("Extras por Habitación", 3155, "EXT_HAB", ""),
            entry("Extras por Huésped", 3159, "EXT_HUE", ""),
            entry("Precios Especiales", 3163, "PREC_DEF", ""),
            entry("Machotes de Agradecimiento", 3439, "AGRADECE", ""),
            entry("Definición de Profesiones", 3458, "PROFE", ""),
            menu("Tarifas", {entry("Definición de Tipos de Tarifa", 3075, "RACK", ""),
                             entry("Definición de Sub-Tipos de Tarifa", 6553, "ENC_TREL", ""),
                             entry("Definición de Tarifas Dinámicas", 6563, "TAR_DINA", ""),
                             entry("Definición de Tarifas", 3168, "E_PREC", ""),
                             entry("Definición de Promociones", 3745, "DEF_PRE5", ""),
                             entry("Definición de Formas de Pagos", 3079, "DEF_PAGO", ""),
                             entry("Definición de Brazaletes", 3083, "DEF_BRAS", "")}),
            menu("Temporadas", {entry("Tabla de Temporadas ", 3070, "DEF_TEMP", "EDIT_DEF_TEMP"),
                                entry("Asignar Fecha a Temporada", 3071, "FEC_TEMP", "")}),
            entry("Definición Perfiles Alimentos y Bebidas", 4139, "D_PER_AL", ""),
            entry("Clasificación de Huéspedes", 4245, "CLAS_HUE", ""),
            entry("Definición de Aerolíneas", 4249, "AERO_LIN", ""),
            menu("Equivalencias Web Server", {entry("Definición de Parámetros", 4159, "F_WEB", ""),
                                              entry("Equivalencia de Países", 4147, "WEB_PAIS", ""),
                                              entry("Equivalencia de Tipos Room", 4151, "WEB_TROM", ""),
                                              entry("Equivalencia de Agencias", 4155, "WEB_AGE", ""),
                                              entry("Equivalencia de Tipos Tarifa", 5803, "WEB_RACK", ""),
                                              entry("Sincronizar Web-Interface", 6203, "ACT_STIP", ""),
                                              entry("Mapeo Multitipo Web-Interface", 6486, "DEF_MAP", "")})}),
      menu("Agencias y Otros",
           {entry("Agencias de Viajes", 3125, "AGENCIAS", ""), entry("Tipos de Agencias ", 3129, "TIPO_AGE", ""),
            entry("Vendedores", 3137, "VENDEDOR", ""), entry("Idiomas", 3141, "IDIOMAS", ""),
            entry("Definición de Países", 3145, "PAISES", ""),
            entry("Definición de Grupos y Regiones para Zip Code", 3731, "MANT_GRP", ""),
            entry("Segmentos de Mercado", 3146, "DEF_SEG", ""),
            entry("Agentes Vendedores p/Transacciones", 5123, "H_AGEN", "H_AGENTE"),
            entry("Definición de Digitadores", 3403, "DIGITADORES", ""),
            entry("Definición de Preguntas de Encuestas", 6278, "ITM_FRM", ""),
            entry("Definición de Encuestas", 6283, "ENC_FRM", ""),
            entry("Definición de Encuestadores/Notificados", 6353, "NOTIF_FM", "")}),
      menu("Source of Business",
           {entry("Definición de Columnas", 3306, "F_SRC", ""), entry("Definición de Formatos", 3297, "SOURCE1", ""),
            entry("Definición Source of Business Predefinidos", 5119, "REP_SB", ""),
            entry("Definición de Clasificación de Agencias", 3302, "CLAS_AGE", "")})};
  return menus;
}

const MenuEntry* findMenuEntry(int id) {
  std::function<const MenuEntry*(const std::vector<MenuEntry>&)> walk = [&](const std::vector<MenuEntry>& list) {
    for (const MenuEntry& e : list) {
      if (!e.isMenu() && e.id == id && id != 0) return &e;
      if (const MenuEntry* found = walk(e.submenu)) return found;
    }
    return static_cast<const MenuEntry*>(nullptr);
  };
  return walk(moduleMenu());
}

}  // namespace app
