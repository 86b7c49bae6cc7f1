// The program's view of the database server: the operations start-up, table opening,
// record locking and transactions call, with the results their callers rely on.
//
// The local storage driver never needs a server; NoServer answers for it. The PostgreSQL
// client implements the same interface.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace server {

struct ServerTime {
  int32_t julian = 0;  // the server's date (Julian day)
  int32_t millis = 0;  // its time of day in milliseconds
};

class ServerClient {
 public:
  virtual ~ServerClient() = default;

  // Start-up.
  virtual bool ADSISSERVERLOADED(const std::string& path) = 0;
  virtual long ADSGETLASTERROR() = 0;
  virtual bool ADSCONNECT60(const std::string& path, int serverTypes, const std::string& user,
                            const std::string& password) = 0;
  virtual bool ADSMGCONNECT(const std::string& path) = 0;
  virtual std::vector<std::string> ADSMGGETINSTALLINFO() = 0;
  virtual void ADSMGDISCONNECT() = 0;
  virtual void ADSSETFILETYPE(const std::string& type) = 0;
  virtual void ADSSETCHARTYPE(const std::string& type) = 0;
  virtual void ADSRIGHTSCHECK(bool on) = 0;
  virtual void ADSLOCKING(bool compatible) = 0;
  virtual void ADSCACHEOPENTABLES(int count) = 0;
  virtual bool connected() const = 0;

  // Tables and transactions.
  virtual void ADSCACHERECORDS(int area, int records) = 0;
  virtual bool ADSBEGINTRANSACTION() = 0;
  virtual bool ADSCOMMITTRANSACTION() = 0;
  virtual bool ADSROLLBACK() = 0;
  virtual bool ADSUNLOCKRECORD(int area, uint32_t recno) = 0;

  // nullopt when the server gives nothing usable; the caller then uses the workstation clock.
  virtual std::optional<ServerTime> ADSGETSERVERTIME() = 0;
};

// The answers of a workstation without a server.
class NoServer : public ServerClient {
 public:
  bool ADSISSERVERLOADED(const std::string&) override { return false; }
  long ADSGETLASTERROR() override { return 0; }
  bool ADSCONNECT60(const std::string&, int, const std::string&, const std::string&) override { return false; }
  bool ADSMGCONNECT(const std::string&) override { return false; }
  std::vector<std::string> ADSMGGETINSTALLINFO() override { return {}; }
  void ADSMGDISCONNECT() override {}
  void ADSSETFILETYPE(const std::string&) override {}
  void ADSSETCHARTYPE(const std::string&) override {}
  void ADSRIGHTSCHECK(bool) override {}
  void ADSLOCKING(bool) override {}
  void ADSCACHEOPENTABLES(int) override {}
  bool connected() const override { return false; }
  void ADSCACHERECORDS(int, int) override {}
  bool ADSBEGINTRANSACTION() override { return false; }
  bool ADSCOMMITTRANSACTION() override { return false; }
  bool ADSROLLBACK() override { return false; }
  bool ADSUNLOCKRECORD(int, uint32_t) override { return false; }
  std::optional<ServerTime> ADSGETSERVERTIME() override { return std::nullopt; }
};

}  // namespace server
