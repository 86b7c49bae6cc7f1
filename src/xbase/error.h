// Run-time errors of the storage engine.
//
// Every failure the engine reports is an xbase::Error. It carries the classic xBase
// classification that the program's error handler works with: a general code (the
// EG_* family below), a driver sub-code, the operating-system error number, the
// subsystem ("DBFCDX" for the engine), the operation that failed and the file involved.
// The engine never swallows a failure: a malformed file, a failed write or an unknown
// expression all end up here with a message that names the file and what is wrong.
#pragma once

#include <stdexcept>
#include <string>

namespace xbase {

// General error codes (the usual xBase numbering).
enum GenCode : int {
  EG_ARG = 1,
  EG_BOUND = 2,
  EG_ZERODIV = 5,
  EG_SYNTAX = 7,
  EG_NOFUNC = 12,
  EG_NOVAR = 14,
  EG_CREATE = 20,
  EG_OPEN = 21,
  EG_CLOSE = 22,
  EG_READ = 23,
  EG_WRITE = 24,
  EG_UNSUPPORTED = 30,
  EG_LIMIT = 31,
  EG_CORRUPTION = 32,
  EG_DATATYPE = 33,
  EG_DATAWIDTH = 34,
  EG_NOTABLE = 35,
  EG_NOORDER = 36,
  EG_SHARED = 37,
  EG_UNLOCKED = 38,
  EG_READONLY = 39,
  EG_APPENDLOCK = 40,
  EG_LOCK = 41,
};

// Driver sub-codes used by the engine (stable numbers, shown as "DBFCDX/<subcode>").
enum SubCode : int {
  SC_NONE = 0,
  SC_OPEN_DBF = 1001,
  SC_OPEN_CDX = 1002,
  SC_OPEN_FPT = 1003,
  SC_CREATE = 1004,
  SC_READ = 1010,
  SC_WRITE = 1011,
  SC_BAD_TABLE = 1012,
  SC_BAD_INDEX = 1013,
  SC_BAD_MEMO = 1014,
  SC_EXPR = 1020,
  SC_FIELD = 1021,
  SC_VALUE = 1022,
  SC_TAG = 1023,
  SC_LOCK = 1030,
  SC_NOT_LOCKED = 1031,
  SC_EXCLUSIVE = 1032,
  SC_READ_ONLY = 1033,
};

class Error : public std::runtime_error {
 public:
  Error(int genCode, int subCode, std::string description, std::string fileName = {}, int osCode = 0,
        std::string operation = {});

  int genCode() const { return genCode_; }
  int subCode() const { return subCode_; }
  int osCode() const { return osCode_; }
  const std::string& subsystem() const { return subsystem_; }
  const std::string& description() const { return description_; }
  const std::string& fileName() const { return fileName_; }
  const std::string& operation() const { return operation_; }

  // A sharing violation or a held lock: trying again later may succeed.
  bool canRetry() const { return canRetry_; }
  // The failing operation may simply return its default (false, empty) instead.
  bool canDefault() const { return canDefault_; }

  Error& setSubsystem(std::string s) {
    subsystem_ = std::move(s);
    return *this;
  }
  Error& setRetry(bool v) {
    canRetry_ = v;
    return *this;
  }
  Error& setDefault(bool v) {
    canDefault_ = v;
    return *this;
  }

 private:
  int genCode_;
  int subCode_;
  int osCode_;
  std::string subsystem_ = "DBFCDX";
  std::string description_;
  std::string fileName_;
  std::string operation_;
  bool canRetry_ = false;
  bool canDefault_ = false;
};

// Shorthand for the commonest case: a malformed file.
[[noreturn]] void throwCorrupt(int subCode, const std::string& file, const std::string& what);

}  // namespace xbase
