#include "lib/messages.h"

namespace lib {

int RecordingSink::show(const std::string& text, const std::string& title, int flags) {
  shown.push_back({text, title, flags});
  if (answers.empty()) return IDOK;
  int a = answers.front();
  answers.erase(answers.begin());
  return a;
}

}  // namespace lib
