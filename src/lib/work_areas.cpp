#include "lib/work_areas.h"

#include <cstdio>

#include "lib/errors.h"
#include "lib/globals.h"

namespace lib {

int WorkAreas::open(std::unique_ptr<TableDriver> table, const std::string& name, const std::string& rdd,
                    const std::string& path) {
  size_t i = 0;
  while (i < areas_.size() && areas_[i]) ++i;
  if (i >= size_t(kMaxAreas)) throw RuntimeError(xbase::EG_LIMIT, 1050, "no quedan áreas de trabajo libres", path);
  if (i == areas_.size()) areas_.emplace_back();
  auto a = std::make_unique<WorkArea>();
  a->number = int(i + 1);
  a->table = std::move(table);
  a->name = name;
  a->rdd = rdd;
  a->path = path;
  a->alias = aliasFor(name, a->number);
  areas_[i] = std::move(a);
  selected_ = int(i + 1);
  return selected_;
}

void WorkAreas::close(int number) {
  if (number < 1 || size_t(number) > areas_.size()) return;
  areas_[size_t(number - 1)].reset();
  while (!areas_.empty() && !areas_.back()) areas_.pop_back();
}

WorkArea* WorkAreas::area(int number) {
  if (number < 1 || size_t(number) > areas_.size()) return nullptr;
  return areas_[size_t(number - 1)].get();
}

bool WorkAreas::full() const {
  return openCount() >= kMaxAreas;
}

int WorkAreas::openCount() const {
  int n = 0;
  for (const auto& a : areas_) n += a ? 1 : 0;
  return n;
}

int WorkAreas::select(int number) {
  int previous = selected_;
  selected_ = number;
  return previous;
}

std::string aliasFor(const std::string& fileName, int area) {
  std::string base = fileName;
  size_t cut = base.find_last_of("\\/");
  if (cut != std::string::npos) base = base.substr(cut + 1);
  cut = base.find(':');
  if (cut != std::string::npos) base = base.substr(cut + 1);
  cut = base.find('.');
  if (cut != std::string::npos) base = base.substr(0, cut);
  size_t b = base.find_first_not_of(' '), e = base.find_last_not_of(' ');
  base = b == std::string::npos ? std::string() : base.substr(b, e - b + 1);
  base.resize(7, '0');
  char num[16];
  std::snprintf(num, sizeof num, "%03d", area);
  return base + num;
}

int SELECT(int area) {
  return G().areas->select(area);
}
int SELECTED() {
  return G().areas->selected();
}

}  // namespace lib
