#include "xbase/value.h"

namespace xbase {

char typeLetter(ValueType t) {
  switch (t) {
    case ValueType::Char:
      return 'C';
    case ValueType::Number:
      return 'N';
    case ValueType::Date:
      return 'D';
    case ValueType::Logical:
      return 'L';
    case ValueType::DateTime:
      return 'T';
    case ValueType::Null:
      break;
  }
  return 'U';
}

}  // namespace xbase
