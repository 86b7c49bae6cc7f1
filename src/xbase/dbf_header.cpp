#include "xbase/dbf_header.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <ctime>

#include "xbase/byte_order.h"
#include "xbase/error.h"

namespace xbase {

namespace {

bool knownVersion(uint8_t v) {
  switch (v) {
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x30:
    case 0x31:
    case 0x32:
    case 0x43:
    case 0x63:
    case 0x83:
    case 0x8B:
    case 0x8E:
    case 0xCB:
    case 0xE5:
    case 0xF5:
    case 0xFB:
      return true;
    default:
      return false;
  }
}

bool knownType(char t) {
  return std::strchr("CNFDLMIBYTGWVQ0P", t) != nullptr && t != 0;
}

void checkFieldShape(const Field& f, const std::string& path) {
  auto bad = [&](const std::string& why) { throwCorrupt(SC_BAD_TABLE, path, "campo " + f.name + ": " + why); };
  if (f.length <= 0) bad("longitud cero");
  switch (f.type) {
    case 'N':
    case 'F':
      if (f.decimals > f.length) bad("decimales");
      break;
    case 'D':
      if (f.length != 8) bad("una fecha ocupa 8 bytes");
      break;
    case 'L':
      if (f.length != 1) bad("un lógico ocupa 1 byte");
      break;
    case 'I':
      if (f.length != 4) bad("un entero ocupa 4 bytes");
      break;
    case 'B':
    case 'Y':
    case 'T':
      if (f.length != 8) bad("el tipo ocupa 8 bytes");
      break;
    case 'M':
    case 'G':
    case 'W':
      if (f.length != 4 && f.length != 10) bad("puntero de memo");
      break;
    default:
      break;
  }
}

}  // namespace

bool DbfHeader::hasMemoFile() const {
  for (const auto& f : fields)
    if (f.isMemo()) return true;
  return false;
}

size_t DbfHeader::descriptorAreaEnd() const {
  return 32 + 32 * fields.size() + 1;
}

DbfHeader DbfHeader::parse(std::span<const uint8_t> b, uint64_t fileSize, const std::string& path) {
  if (b.size() < 33) throwCorrupt(SC_BAD_TABLE, path, "encabezado incompleto");
  DbfHeader h;
  h.version = b[0];
  if (!knownVersion(h.version)) throwCorrupt(SC_BAD_TABLE, path, "versión de tabla desconocida");
  h.updateYear = b[1];
  h.updateMonth = b[2];
  h.updateDay = b[3];
  h.recordCount = le32(&b[4]);
  h.headerLength = le16(&b[8]);
  h.recordLength = le16(&b[10]);
  h.tableFlags = b[28];
  h.languageDriver = b[29];
  if (h.headerLength < 33) throwCorrupt(SC_BAD_TABLE, path, "longitud de encabezado inválida");
  if (h.headerLength > b.size()) throwCorrupt(SC_BAD_TABLE, path, "encabezado más largo que el archivo");
  if (h.recordLength < 1) throwCorrupt(SC_BAD_TABLE, path, "longitud de registro inválida");
  if (uint64_t(h.headerLength) + uint64_t(h.recordCount) * h.recordLength > fileSize)
    throwCorrupt(SC_BAD_TABLE, path, "el número de registros excede el tamaño del archivo");

  size_t pos = 32;
  int nullBits = 0;
  int expectedOffset = 1;
  bool foxOffsets = true;
  while (true) {
    if (pos >= h.headerLength) throwCorrupt(SC_BAD_TABLE, path, "descriptores de campo más allá del encabezado");
    if (b[pos] == 0x0D) break;
    if (pos + 32 > h.headerLength) throwCorrupt(SC_BAD_TABLE, path, "descriptores de campo más allá del encabezado");
    const uint8_t* d = &b[pos];
    Field f;
    size_t n = 0;
    while (n < 11 && d[n] != 0) ++n;
    f.name.assign(reinterpret_cast<const char*>(d), n);
    for (auto& c : f.name) c = char(std::toupper(static_cast<unsigned char>(c)));
    while (!f.name.empty() && f.name.back() == ' ') f.name.pop_back();
    f.type = char(std::toupper(d[11]));
    if (!knownType(f.type)) throwCorrupt(SC_BAD_TABLE, path, "tipo de campo desconocido en " + f.name);
    f.length = d[16];
    f.decimals = d[17];
    if (f.type == 'C' && !h.isVisualFoxPro()) {  // Clipper-style long character fields
      f.length = d[16] | (d[17] << 8);
      f.decimals = 0;
    }
    f.flags = h.isVisualFoxPro() ? d[18] : 0;
    f.autoNext = le32(d + 19);
    f.autoStep = d[23];
    f.offset = expectedOffset;
    uint32_t stored = le32(d + 12);
    if (h.isVisualFoxPro() || h.version == 0x03 || h.version == 0xF5) {
      if (stored != uint32_t(expectedOffset)) foxOffsets = false;
    }
    expectedOffset += f.length;
    if (f.type == '0') {
      h.nullFlagsField = int(h.fields.size());
    } else {
      checkFieldShape(f, path);
      if (f.nullable()) f.nullBit = nullBits++;
      if (f.type == 'V' || f.type == 'Q') f.varBit = nullBits++;
    }
    h.fields.push_back(std::move(f));
    pos += 32;
    if (h.fields.size() > 2048) throwCorrupt(SC_BAD_TABLE, path, "demasiados campos");
  }
  (void)foxOffsets;  // displacements of other writers are not trusted; fields are packed
  if (h.fields.empty()) throwCorrupt(SC_BAD_TABLE, path, "tabla sin campos");
  if (expectedOffset != h.recordLength)
    throwCorrupt(SC_BAD_TABLE, path, "la suma de los campos no coincide con la longitud de registro");
  if (pos + 1 > h.headerLength) throwCorrupt(SC_BAD_TABLE, path, "encabezado truncado");
  if (h.nullFlagsField >= 0 && h.fields[h.nullFlagsField].length * 8 < nullBits)
    throwCorrupt(SC_BAD_TABLE, path, "_NullFlags demasiado corto");
  return h;
}

std::vector<uint8_t> DbfHeader::build() const {
  std::vector<uint8_t> b(headerLength, 0);
  b[0] = version;
  b[1] = uint8_t(updateYear);
  b[2] = uint8_t(updateMonth);
  b[3] = uint8_t(updateDay);
  put32(&b[4], recordCount);
  put16(&b[8], headerLength);
  put16(&b[10], recordLength);
  b[28] = tableFlags;
  b[29] = languageDriver;
  size_t pos = 32;
  for (const auto& f : fields) {
    uint8_t* d = &b[pos];
    std::memcpy(d, f.name.data(), std::min<size_t>(f.name.size(), 10));
    d[11] = uint8_t(f.type);
    put32(d + 12, uint32_t(f.offset));
    if (f.type == 'C' && f.length > 255 && !isVisualFoxPro()) {
      d[16] = uint8_t(f.length & 0xFF);
      d[17] = uint8_t(f.length >> 8);
    } else {
      d[16] = uint8_t(f.length);
      d[17] = uint8_t(f.decimals);
    }
    d[18] = f.flags;
    put32(d + 19, f.autoNext);
    d[23] = f.autoStep;
    pos += 32;
  }
  b[pos] = 0x0D;
  return b;
}

DbfHeader DbfHeader::forNewTable(const std::vector<FieldSpec>& specs, uint8_t languageDriver, const std::string& path) {
  if (specs.empty()) throw Error(EG_CREATE, SC_CREATE, "una tabla necesita al menos un campo", path);
  DbfHeader h;
  bool vfp = false, memo = false;
  int nullBits = 0;
  for (const auto& s : specs) {
    if (std::strchr("IBYT", s.type)) vfp = true;
    if (s.nullable || s.binary) vfp = true;  // only Visual FoxPro headers hold these flags
    if (s.type == 'M' || s.type == 'G') memo = true;
  }
  h.version = vfp ? 0x30 : (memo ? 0xF5 : 0x03);
  h.languageDriver = languageDriver;
  int offset = 1;
  std::vector<std::string> seen;
  for (const auto& s : specs) {
    Field f;
    f.name = s.name;
    for (auto& c : f.name) c = char(std::toupper(static_cast<unsigned char>(c)));
    auto fail = [&](const std::string& why) {
      throw Error(EG_CREATE, SC_FIELD, "campo " + (f.name.empty() ? std::string("?") : f.name) + ": " + why, path);
    };
    if (f.name.empty() || f.name.size() > 10) fail("el nombre debe tener de 1 a 10 caracteres");
    if (!std::isalpha(static_cast<unsigned char>(f.name[0]))) fail("el nombre debe empezar por una letra");
    for (char c : f.name)
      if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') fail("carácter no válido en el nombre");
    if (std::find(seen.begin(), seen.end(), f.name) != seen.end()) fail("nombre repetido");
    seen.push_back(f.name);
    f.type = char(std::toupper(static_cast<unsigned char>(s.type)));
    f.length = s.length;
    f.decimals = s.decimals;
    switch (f.type) {
      case 'C':
        if (f.length < 1 || f.length > 254) fail("longitud de 1 a 254");
        f.decimals = 0;
        break;
      case 'N':
      case 'F':
        if (f.length < 1 || f.length > 20) fail("longitud de 1 a 20");
        if (f.decimals < 0 || (f.decimals > 0 && f.decimals > f.length - 2)) fail("decimales inválidos");
        break;
      case 'D':
        f.length = 8;
        f.decimals = 0;
        break;
      case 'L':
        f.length = 1;
        f.decimals = 0;
        break;
      case 'M':
      case 'G':
        f.length = vfp ? 4 : 10;
        f.decimals = 0;
        break;
      case 'I':
        f.length = 4;
        f.decimals = 0;
        break;
      case 'B':
        f.length = 8;
        if (f.decimals < 0 || f.decimals > 18) f.decimals = 0;
        break;
      case 'Y':
      case 'T':
        f.length = 8;
        f.decimals = f.type == 'Y' ? 4 : 0;
        break;
      default:
        fail(std::string("tipo no soportado al crear: ") + f.type);
    }
    f.offset = offset;
    offset += f.length;
    if (s.nullable) {
      f.flags |= 0x02;
      f.nullBit = nullBits++;
    }
    if (s.binary || (vfp && (f.type == 'I' || f.type == 'B' || f.type == 'Y' || f.type == 'T')))
      f.flags |= vfp ? 0x04 : 0;
    h.fields.push_back(std::move(f));
  }
  if (nullBits > 0) {
    Field nf;
    nf.name = "_NullFlags";
    nf.type = '0';
    nf.length = (nullBits + 7) / 8;
    nf.offset = offset;
    nf.flags = 0x05;
    offset += nf.length;
    h.nullFlagsField = int(h.fields.size());
    h.fields.push_back(std::move(nf));
  }
  if (offset > 65535) throw Error(EG_CREATE, SC_CREATE, "registro demasiado largo", path);
  h.recordLength = uint16_t(offset);
  size_t hl = 32 + 32 * h.fields.size() + 1 + (vfp ? 263 : 0);
  if (hl > kMaxHeaderLength) throw Error(EG_CREATE, SC_CREATE, "demasiados campos", path);
  h.headerLength = uint16_t(hl);
  h.tableFlags = uint8_t(0x01 | (memo && vfp ? 0x02 : 0));
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  h.updateYear = tm.tm_year % 100;  // as Visual FoxPro writes it
  h.updateMonth = tm.tm_mon + 1;
  h.updateDay = tm.tm_mday;
  return h;
}

}  // namespace xbase
