// Copying a folder of tables to the server and back (dbfutil push / pull).
//
// push: every DBF table of the folder becomes a server table (replacing one of the same
// name) with the catalogue's fields and tags when the catalogue knows the table, and its
// own otherwise; every record is copied with its record number and deletion mark.
// pull: every server table of the folder is written back as DBF/CDX(/FPT) files with the
// same records, record numbers and marks (a number without a row becomes a blank deleted
// record). The folder is named as on the server: the last component of the directory
// ("BASES" for /hotel/BASES); a folder of which the server holds no table is an error
// (SE_NO_TABLE) that names the folders it does hold, and nothing is written; so is a table
// the server lists whose SQL table is gone.
// push: a value that the server's field cannot hold (a number wider than the catalogue's
// field, a text where it wants a number) stops the push of that table, which is rolled back.
#pragma once

#include <ostream>
#include <string>

#include "server/session.h"

namespace server {

struct TransferCount {
  int tables = 0;
  long records = 0;
};

TransferCount pushFolder(Session& s, const std::string& dir, std::ostream* log = nullptr);
TransferCount pullFolder(Session& s, const std::string& dir, std::ostream* log = nullptr);

}  // namespace server
