#include "cashier/listado_cargos.h"

#include <memory>

#include "lib/picture.h"
#include "lib/text.h"
#include "lib/use.h"

namespace cashier {

namespace {

using lib::WDBTable;

// `text` in `width` columns of the printed page: characters, not bytes, counted (the
// descriptions carry accents), cut or padded with blanks.
std::string padded(const std::string& text, size_t width) {
  std::string out;
  size_t columns = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool starts = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (starts && columns == width) break;
    if (starts) ++columns;
    out += text[i];
  }
  return out + std::string(width - columns, ' ');
}

const char* const kFlags[] = {"DOCUMEN", "NO_CIERRE", "IMPRIMIR", "AGENTE", "DET_CONTA",
                              "COMENTA", "IMP_INCLU", "DEPOSITA", "RESERVA"};

std::string side(const WDBTable& code) {
  return code.N("CREDITO") == 1 ? "C" : "D";
}

// "Liga: HOSP Huéspedes en Casa  D", or a note that the code has none.
std::string linkText(WDBTable& links, const std::string& negocio, const std::string& link, const std::string& sideText) {
  if (lib::trim(link).empty()) return "Sin liga contable";
  const bool found = links.Seek(lib::businessKey(negocio) + links.KeyPart("MODULO", "09") + links.KeyPart("CODIGO", link));
  return "Liga: " + padded(lib::trim(link), 4) + " " + padded(found ? links.S("DESCRIP") : "", 40) + " " + sideText;
}

}  // namespace

std::vector<std::string> LISTADO_TRANSACCIONES(const std::string& negocio) {
  std::vector<std::string> out = {
      "Cód. " + padded("Descripción", 40) + " T  Doc Ex. I.C Age D.C Com I.I Cie Res",
      std::string(5 + 40 + 3, '-') + std::string(36, '-')};
  auto codes = lib::USE(nullptr, "TRANSACS", "TRANSACS1");
  auto links = lib::USE(nullptr, "LIGAS", "LIGAS");
  auto parts = lib::USE(nullptr, "DET_TRAN", "DET_TRAN");
  codes->SetScope(lib::businessKey(negocio));
  for (codes->GoTop(); !codes->Eof(); codes->Skip()) {
    if (codes->Deleted()) continue;
    const std::string code = codes->S("CODIGO");
    std::string line = padded(code, 4) + " " + padded(codes->S("DESCRIP"), 40) + " " + side(*codes) + " ";
    for (const char* flag : kFlags) line += std::string("  ") + (codes->N(flag) == 1 ? "S" : " ") + " ";
    out.push_back(lib::rtrim(line));
    if (codes->N("SUB_TRAN") != 1) {
      out.push_back("     " + linkText(*links, negocio, codes->S("LIGA"), side(*codes)));
      continue;
    }
    const uint32_t at = codes->RecNo();
    std::vector<std::pair<std::string, double>> components;
    parts->SetScope(lib::businessKey(negocio) + parts->KeyPart("COD_TRAN", code));
    for (parts->GoTop(); !parts->Eof(); parts->Skip())
      if (!parts->Deleted()) components.push_back({parts->S("CODIGO"), parts->N("PORCENTAJE")});
    parts->ClearScope();
    codes->ClearScope();
    for (const auto& [component, percentage] : components) {
      const bool found = codes->Seek(lib::businessKey(negocio) + codes->KeyPart("CODIGO", component));
      out.push_back("     " + padded(component, 4) + " " + padded(found ? codes->S("DESCRIP") : "", 30) + " " +
                    lib::TRANSFORM_NUMBER(percentage, "999.9999") + " " +
                    (found ? linkText(*links, negocio, codes->S("LIGA"), side(*codes)) : ""));
    }
    codes->SetScope(lib::businessKey(negocio));
    codes->GoTo(at);
  }
  lib::KILLTABLA(parts);
  lib::KILLTABLA(links);
  lib::KILLTABLA(codes);
  return out;
}

}  // namespace cashier
