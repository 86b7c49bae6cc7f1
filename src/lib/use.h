// Opening and releasing tables: USE locates a table (with its index and memo files), opens
// it in a new work area with the retry rule, sets the requested order and returns its table
// object; KILLTABLA releases it again. USE also makes private temporary tables from the
// empty templates of PROFILE/, and, during a server transaction with the file bag on,
// keeps released tables open for their next USE.
//
// Folders are given as the program writes them ("BASES\\", "PROFILE\\", "F_IMPORT\\") and
// taken relative to the program folder G().PATH; the sub-database folder of the logged-in
// user (XDBACCESS) is used for a table that exists there.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "lib/wdbtable.h"

namespace lib {

struct UseOptions {
  std::string tag;
  bool shared = true;
  bool readOnly = false;
  std::string folder = "BASES\\";
  std::string driver;     // "" = DEF_RDD
  bool absolute = false;  // basePath replaces the program folder
  std::string basePath;
};

std::unique_ptr<WDBTable> USE(void* owner, std::string name, std::string tag = "", bool shared = true,
                              bool readOnly = false, std::string folder = "BASES\\", std::string driver = "",
                              bool absolute = false, std::string basePath = "");
std::unique_ptr<WDBTable> USE(void* owner, std::string name, const UseOptions& options);

// Releases the object (closes it, or puts it in the file bag) and erases a temporary
// table's files; `table` is null afterwards. A last change that cannot be written throws
// xbase::Error, the table closed all the same. A null object is ignored.
void KILLTABLA(std::unique_ptr<WDBTable>& table, bool forceClose = false);

// Where USE finds the table BASE (name without extension, at most 8 characters).
std::string tablePath(const std::string& base, const UseOptions& options);

// Removes the deleted records of a table for good. It needs the table alone: false, with
// nothing changed, while another user (or another work area) has it open.
bool PACK_TABLE(const std::string& name);

bool IS_FILE(void* owner, const std::string& name, std::string folder = "BASES\\");

// Every record of `table`, in the order `tag`, whose key begins with `prefix`: the table is
// opened for the walk and closed after it; deleted records are not visited.
void EACH_RECORD(const std::string& table, const std::string& tag, const std::string& prefix,
                 const std::function<void(const WDBTable&)>& visit);

// Creates P/folder/newName with the structure of `table` (DEF_RDD), retrying while it
// cannot ("No se puede copiar estructura a: " + path after 5 s).
bool COPY_STRUC(void* owner, WDBTable& table, const std::string& newName, std::string folder);

// Copies a file in 500-byte blocks, running MULTITASK `passes` times after each block:
// 0 copied, 1 target cannot be created, 2 a block not written completely, 3 no source.
int COPY_BFILE(const std::string& source, const std::string& target, int passes = 0);

// The file bag.
void KILL_FILEBAG();
std::optional<int> IN_FILEBAG(const std::string& name);
void CLEAR_FILEBAG();

// Program paths: a folder as the program writes it ("BASES\\") made into "BASES/".
std::string normaliseFolder(std::string folder);
// The folder of temporary tables: TEMP/ under the local temporary path, or the program's.
std::string temporaryFolder();

}  // namespace lib
