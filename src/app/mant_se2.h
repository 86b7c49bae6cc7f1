// The editor of a serial counter (dialog EDIT_SERIAL) over MANT_SER. A new counter gets its
// module and code, which stay as they are afterwards (the documents and parameters of the
// suite name the series by them).
//
// The next number is the counter's NUMERO + 1, and NUMERO is what other workstations move
// while the editor is open: it is written only when the user changed it, under the
// counter's record lock, against the value read under that lock. Setting it at or below a
// number already handed out asks first and says which numbers would be handed out again;
// when the counter moves on while the user answers, the question comes again with the new
// figures, so that nothing the user did not see is handed out twice.
#pragma once

#include <string>

#include "screens/editor.h"

namespace app {

class MANT_SE2 : public screens::EDITOR {
 public:
  MANT_SE2(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  void CARGAR() override;
  bool VALIDA(const std::string& code) override;
  bool AGREGA(const std::string& code) override;
  bool MODIFICA(const std::string& code) override;

 private:
  double typedNext() const;
  bool fits(double next);
  void showSample();

  double loadedNext_ = 1;  // the next number when the editor opened
};

}  // namespace app
