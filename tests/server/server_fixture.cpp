#include "server/server_fixture.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "lib/use.h"

namespace testing_support {

namespace {

std::string runScalar(const std::string& conninfo, const std::string& sql) {
  PGconn* c = PQconnectdb(conninfo.c_str());
  if (PQstatus(c) != CONNECTION_OK) {
    std::string m = PQerrorMessage(c);
    PQfinish(c);
    ADD_FAILURE() << "no se puede conectar con el servidor de pruebas: " << m;
    return {};
  }
  PQclear(PQexec(c, "SET client_min_messages = warning"));
  PGresult* r = PQexec(c, sql.c_str());
  std::string out;
  if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0)
    out = PQgetvalue(r, 0, 0);
  else if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK)
    ADD_FAILURE() << sql << ": " << PQresultErrorMessage(r);
  PQclear(r);
  PQfinish(c);
  return out;
}

}  // namespace

std::string testServer() {
  const char* v = std::getenv("CONFIGURA_PG_TEST");
  if (!v || !*v) {
    ADD_FAILURE() << "CONFIGURA_PG_TEST no está definida: las pruebas del servidor necesitan un PostgreSQL "
                     "(scripts/test arranca uno propio)";
    return "host=127.0.0.1 port=1 dbname=falta connect_timeout=1";
  }
  return v;
}

ServerSchema::ServerSchema() : base_(testServer()) {
  static std::atomic<int> counter{0};
  name_ = "t" + std::to_string(getpid()) + "_" + std::to_string(++counter);
  runScalar(base_, "CREATE SCHEMA " + name_);
  conninfo_ = base_ + " options='-csearch_path=" + name_ + "'";
}

ServerSchema::~ServerSchema() {
  runScalar(base_, "DROP SCHEMA IF EXISTS " + name_ + " CASCADE");
}

std::string ServerSchema::scalar(const std::string& sql) const {
  return runScalar(conninfo_, sql);
}

void useServer(const std::string& conninfo) {
  lib::G().server = std::make_unique<server::PgClient>(conninfo);
  server::installPostgresClient();  // keeps that client, registers the driver
  lib::G().DEF_RDD = "ADSCDX";
}

ServerFolder::ServerFolder() : s_(std::make_unique<ServerSchema>()), p_(std::make_unique<ProgramFolder>()) {
  useServer(s_->conninfo());
}

server::PgClient& ServerFolder::client() {
  return *server::pgClient();
}

void ServerFolder::table(const std::string& relativePath, const std::vector<xbase::FieldSpec>& fields,
                         const std::vector<std::string>& tags) {
  std::vector<xbase::TagSpec> specs;
  for (const auto& t : tags) specs.push_back(xbase::TagSpec::parse(t));
  std::string path =
      relativePath.find('/') == std::string::npos ? p_->bases(relativePath) : p_->path() + "/" + relativePath;
  server::TableSchema schema(server::tableNameFor(path), fields, specs, xbase::CodePage::windows1252());
  server::createServerTable(*client().session(), schema);
}

std::unique_ptr<lib::WDBTable> ServerFolder::rooms(int count) {
  table("ROOMS.DBF", {{"NEGOCIO", 'C', 2}, {"CODIGO", 'C', 15}, {"CANT", 'N', 6}}, {"ROOMS: NEGOCIO+CODIGO"});
  auto t = lib::USE(nullptr, "ROOMS", "ROOMS");
  EXPECT_TRUE(t->FLock());
  for (int i = 1; i <= count; ++i) {
    EXPECT_TRUE(t->Append());
    t->FieldPut("NEGOCIO", lib::Value::chars("01"));
    t->FieldPut("CODIGO", lib::Value::chars(std::to_string(1000 + i)));
    t->FieldPut("CANT", lib::Value::num(i));
  }
  t->Unlock();
  t->Commit();
  return t;
}

}  // namespace testing_support
