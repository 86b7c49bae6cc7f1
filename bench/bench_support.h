// Shared by the benchmarks: a scratch folder, deterministic data, and a reporter that
// prints, after the usual table, the ratio of each run to its peer: WORK/engine against
// WORK/sqlite by default, WORK/server against WORK/local for the database server.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// One folder per process, removed when it ends: benchmarks run at once (by several people
// on one machine) must not clear each other's data.
inline std::string scratch(const std::string& name) {
  static const std::string& root = *new std::string([] {  // kept for the removal at exit
    std::filesystem::path p =
        std::filesystem::temp_directory_path() / ("configura-bench." + std::to_string(::getpid()));
    std::filesystem::remove_all(p);
    std::filesystem::create_directories(p);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(root, ignored);
    });
    return p.string();
  }());
  return root + "/" + name;
}

// Room-like rows: business unit, code, type, location, description (40 characters).
struct Row {
  std::string negocio, codigo, tipo, ubica, descrip;
};

inline Row makeRow(uint32_t i) {
  std::mt19937 rng(i * 2654435761u);
  Row r;
  r.negocio = i % 2 ? "01" : "02";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%07u", (i * 7919u) % 10000019u);
  r.codigo = buf;
  static const char* types[] = {"SGL", "DBL", "TPL", "SUI", "JRS", "KNG", "QEN", "FAM"};
  r.tipo = types[rng() % 8];
  std::snprintf(buf, sizeof buf, "P%02u", unsigned(rng() % 40));
  r.ubica = buf;
  std::string d;
  for (int k = 0; k < 40; ++k) d.push_back(char('A' + rng() % 26));
  std::snprintf(buf, sizeof buf, "%08u", i);
  d.replace(32, 8, buf);  // unique, so exact seeks find one row
  r.descrip = d;
  return r;
}

// Rows are made once, so that no benchmark times the making of its data.
inline const Row& row(uint32_t i) {
  static std::vector<Row> rows;
  while (rows.size() <= i) rows.push_back(makeRow(uint32_t(rows.size())));
  return rows[i];
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(std::string subject = "engine", std::string peer = "sqlite")
      : subject_(std::move(subject)), peer_(std::move(peer)) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs) {
      if (r.run_type != Run::RT_Iteration) continue;
      std::string name = r.benchmark_name();
      double t = r.GetAdjustedRealTime();
      size_t slash = name.find('/');
      std::string base = name.substr(0, slash), who = slash == std::string::npos ? "" : name.substr(slash + 1);
      size_t more = who.find('/');
      if (more != std::string::npos) who = who.substr(0, more);
      times_[base][who] = t;
      units_[base] = benchmark::GetTimeUnitString(r.time_unit);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-28s %14s %14s %8s\n", "work", subject_.c_str(), peer_.c_str(), "ratio");
    for (auto& [base, who] : times_) {
      if (!who.count(subject_) || !who.count(peer_)) continue;
      double e = who[subject_], s = who[peer_];
      std::printf("%-28s %11.3f %-2s %11.3f %-2s %8.2f\n", base.c_str(), e, units_[base].c_str(), s,
                  units_[base].c_str(), e / s);
    }
  }

 private:
  std::string subject_, peer_;
  std::map<std::string, std::map<std::string, double>> times_;
  std::map<std::string, std::string> units_;
};

}  // namespace bench

#define BENCH_MAIN()                              \
  int main(int argc, char** argv) {               \
    benchmark::Initialize(&argc, argv);           \
    bench::RatioReporter reporter;                \
    benchmark::RunSpecifiedBenchmarks(&reporter); \
    benchmark::Shutdown();                        \
    return 0;                                     \
  }
