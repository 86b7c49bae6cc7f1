// The text-search service: tables registered for it keep the texts of their records in a
// search index, removed when a record is locked for a change and added again when it is
// released. The index itself belongs to the search service of the suite; the program only
// makes the calls.
#pragma once

#include <string>

namespace lib {

class TextSearch {
 public:
  virtual ~TextSearch() = default;
  virtual void setBusiness(const std::string& business) = 0;
  virtual void removeText(const std::string& document, const std::string& text, const std::string& table) = 0;
  virtual void addText(const std::string& document, const std::string& text, const std::string& table) = 0;
};

// A service that keeps nothing: enough until a screen searches texts.
class NullTextSearch : public TextSearch {
 public:
  void setBusiness(const std::string&) override {}
  void removeText(const std::string&, const std::string&, const std::string&) override {}
  void addText(const std::string&, const std::string&, const std::string&) override {}
};

}  // namespace lib
