// The test server: CONFIGURA_PG_TEST holds the connection string of a PostgreSQL instance
// (scripts/test starts a private one). Each test works in a schema of its own, dropped at
// the end, so tests can run in parallel on one database. Without the variable the server
// tests fail: they are never skipped.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lib/globals.h"
#include "lib/wdbtable.h"
#include "server/pg_client.h"
#include "server/server_table.h"
#include "server/table_schema.h"
#include "support/program_folder.h"

namespace testing_support {

// The connection string of the test server; fails the test when it is not set.
std::string testServer();

class ServerSchema {
 public:
  ServerSchema();
  ~ServerSchema();
  ServerSchema(const ServerSchema&) = delete;
  ServerSchema& operator=(const ServerSchema&) = delete;

  // The connection string that works in this schema.
  const std::string& conninfo() const { return conninfo_; }
  const std::string& name() const { return name_; }
  // Runs SQL on a side connection of its own (another workstation, an administrator).
  std::string scalar(const std::string& sql) const;

 private:
  std::string base_, name_, conninfo_;
};

// A program folder whose process state talks to the test server: G().server is a
// PgClient on a fresh schema, "ADSCDX" is registered and DEF_RDD names it.
class ServerFolder {
 public:
  ServerFolder();
  ProgramFolder& folder() { return *p_; }
  ServerSchema& schema() { return *s_; }
  server::PgClient& client();
  // Creates BASES/NAME (or a folder-relative path) on the server with its tags.
  void table(const std::string& relativePath, const std::vector<xbase::FieldSpec>& fields,
             const std::vector<std::string>& tags = {});
  // ROOMS (NEGOCIO, CODIGO, CANT; tag ROOMS on NEGOCIO+CODIGO) with `count` rooms of business
  // 01, codes 1001.., CANT 1.., written under one file lock: the table, open.
  std::unique_ptr<lib::WDBTable> rooms(int count);

 private:
  std::unique_ptr<ServerSchema> s_;  // outlives the folder's state (and its connection)
  std::unique_ptr<ProgramFolder> p_;
};

// Makes the current process state use `conninfo` (children of fork() call it with their
// fresh state).
void useServer(const std::string& conninfo);

}  // namespace testing_support
