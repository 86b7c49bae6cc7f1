// Screens at several workstations at once: four scripted workstations (configura --script
// --real-time, each with settings of its own) add six rooms each, all of one type, through
// the room editor on one demo program folder, on the table files and on the server. Every
// room is added; no workstation waits on a lock past the five quiet seconds of the retry
// rule (no "El dato se encuentra bloqueado" message); and the counters each addition moves
// in place — TIPO_ROM.CANTIDAD, CLAS_ROM.CANTIDAD, F_HOTEL.CANT_ROOMS, the availability rows
// of the type and of its class from the closing day on — equal a recount from the rooms; and
// each new room has its reservation-table row for every date generated.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "lib/use.h"
#include "server/server_fixture.h"
#include "support/temp_dir.h"
#include "xbase/date.h"

using namespace lib;
using testing_support::ServerSchema;
using testing_support::TempDir;

namespace {

constexpr int kWorkstations = 4;
constexpr int kRoomsEach = 6;
const char* kType = "SGL";

std::string roomCode(int workstation, int n) {
  return std::to_string(900 + 10 * workstation + n);  // 911..946
}

std::string script(int workstation) {
  std::ostringstream s;
  s << "login ADMIN ADMIN 01\n"
    << "menu 3087\n"
    << "expect-window ROOMS\n";
  for (int n = 1; n <= kRoomsEach; ++n) {
    std::string code = roomCode(workstation, n);
    s << "menu 3088\n"
      << "expect-window AGREGAR_ROOM\n"
      << "type 500 " << code << "\n"
      << "type 501 \"Habitación " << code << "\"\n"
      << "select 601 " << kType << "\n"
      << "select 602 PB\n"
      << "select 603 01\n"
      << "press 1\n"
      << "expect-window ROOMS\n";
  }
  s << "quit\n";
  return s.str();
}

std::string readAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class Workstations : public ::testing::TestWithParam<std::string> {};

TEST_P(Workstations, FourAddingRoomsOfOneTypeKeepEveryCounterEqualToARecount) {
  const bool server = GetParam() == "ADSCDX";
  TempDir dir;
  std::unique_ptr<ServerSchema> schema;
  const std::string home = dir.path() + "/hotel";
  std::string command = std::string(INITDB_PATH) + " '" + home + "' --demo";
  if (server) {
    schema = std::make_unique<ServerSchema>();
    command += " --server \"" + schema->conninfo() + "\"";
  }
  ASSERT_EQ(std::system((command + " >/dev/null").c_str()), 0);

  auto start = std::chrono::steady_clock::now();
  std::vector<pid_t> pids;
  for (int w = 1; w <= kWorkstations; ++w) {
    const std::string base = dir.path() + "/estacion" + std::to_string(w);
    std::ofstream(base + ".scn") << script(w);
    const std::string windows = base + "-windows";
    std::filesystem::create_directories(windows);
    pid_t pid = fork();
    if (pid == 0) {
      setenv("CONFIGURA_WINDIR", windows.c_str(), 1);
      std::freopen((base + ".out").c_str(), "w", stdout);
      std::freopen((base + ".err").c_str(), "w", stderr);
      execl(CONFIGURA_PATH, CONFIGURA_PATH, "--home", home.c_str(), "--script", (base + ".scn").c_str(), "--real-time",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    pids.push_back(pid);
  }
  int lockMessages = 0;
  for (int w = 1; w <= kWorkstations; ++w) {
    int status = 0;
    waitpid(pids[size_t(w - 1)], &status, 0);
    std::string out = readAll(dir.path() + "/estacion" + std::to_string(w) + ".out");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "estación " << w << ":\n" << out;
    lockMessages += count(out, "El dato se encuentra bloqueado");
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(lockMessages, 0);
  std::printf("[ pantallas ] %s: %d estaciones x %d habitaciones en %.1f s, %d mensajes de bloqueo\n",
              GetParam().c_str(), kWorkstations, kRoomsEach, seconds, lockMessages);

  // The recount, through the folder's own driver.
  Globals& g = resetGlobals();
  g.PATH = home + "/";
  g.EXT_MODULO = "CNF";
  if (server) testing_support::useServer(schema->conninfo());
  const std::string neg = "01";
  std::map<std::string, std::string> classOf;  // type -> class
  std::map<std::string, int> roomsOfType;
  int businessRooms = 0;
  int added = 0;
  {
    auto types = USE(nullptr, "TIPO_ROM", "TIPO_ROM");
    for (types->Seek(neg, true); !types->Eof() && types->S("NEGOCIO") == neg; types->Skip())
      classOf[types->S("CODIGO")] = types->S("CLASE");
    auto rooms = USE(nullptr, "ROOMS", "ROOMS");
    for (rooms->Seek(neg, true); !rooms->Eof() && rooms->S("NEGOCIO") == neg; rooms->Skip()) {
      ++businessRooms;
      ++roomsOfType[rooms->S("TIPO")];
      const std::string code = rooms->S("CODIGO");
      if (code.size() == 3 && code[0] == '9' && code >= "911" && code <= "946") {
        ++added;
        EXPECT_EQ(rooms->S("TIPO"), kType) << code;
        EXPECT_EQ(rooms->S("CLASE"), classOf[kType]) << code;
      }
    }
  }
  EXPECT_EQ(added, kWorkstations * kRoomsEach);
  const std::string clase = classOf[kType];
  int classRooms = 0;
  for (const auto& [type, c] : classOf)
    if (c == clase) classRooms += roomsOfType[type];
  {
    auto types = USE(nullptr, "TIPO_ROM", "TIPO_ROM");
    ASSERT_TRUE(types->Seek(neg + types->KeyPart("CODIGO", kType)));
    EXPECT_EQ(types->N("CANTIDAD"), roomsOfType[kType]);
    auto classes = USE(nullptr, "CLAS_ROM", "CLAS_ROM");
    ASSERT_TRUE(classes->Seek(neg + classes->KeyPart("CODIGO", clase)));
    EXPECT_EQ(classes->N("CANTIDAD"), classRooms);
    auto hotel = USE(nullptr, "F_HOTEL", "F_HOTEL");
    ASSERT_TRUE(hotel->Seek(neg));
    EXPECT_EQ(hotel->N("CANT_ROOMS"), businessRooms);
    const int32_t closing = hotel->D("CIERRE_DIA");

    // The availability rows of the type (in every class) and the class-total rows: their
    // inventory (TOTAL + OUTORDER) is the recount, from the closing day on.
    auto stat = USE(nullptr, "STAT_TIP", "STAT_TIP2");
    int typeRows = 0, classRows = 0;
    for (stat->Seek(neg + xbase::dtos(closing), true); !stat->Eof() && stat->S("NEGOCIO") == neg; stat->Skip()) {
      const double inventory = stat->N("TOTAL") + stat->N("OUTORDER");
      if (stat->S("TIPO_ROM") == kType) {
        ++typeRows;
        EXPECT_EQ(inventory, roomsOfType[kType]) << xbase::dtos(stat->D("FECHA")) << " " << stat->S("CLASE");
      } else if (stat->S("TIPO_ROM").empty() && stat->S("CLASE").empty() && stat->S("XCLASE") == clase) {
        ++classRows;
        EXPECT_EQ(inventory, classRooms) << xbase::dtos(stat->D("FECHA"));
      }
    }
    EXPECT_GT(typeRows, 300);
    EXPECT_GT(classRows, 300);

    // Each new room: one reservation-table row for every date generated from the closing day.
    auto tab = USE(nullptr, "TAB_RESE", "TAB_RES2");
    int generated = 0;
    {
      auto byDate = USE(nullptr, "TAB_RESE", "TAB_RESE");
      for (int32_t d = closing; byDate->Seek(neg + xbase::dtos(d)); ++d) ++generated;
    }
    EXPECT_GT(generated, 300);
    for (int w = 1; w <= kWorkstations; ++w)
      for (int n = 1; n <= kRoomsEach; ++n) {
        const std::string key = neg + tab->KeyPart("CODIGO", roomCode(w, n));
        int rows = 0;
        for (tab->Seek(key, true); !tab->Eof() && tab->S("CODIGO") == roomCode(w, n); tab->Skip()) ++rows;
        EXPECT_EQ(rows, generated) << roomCode(w, n);
      }
  }
  resetGlobals();
}

INSTANTIATE_TEST_SUITE_P(BothDrivers, Workstations, ::testing::Values("DBFCDX", "ADSCDX"));

}  // namespace
