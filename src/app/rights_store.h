// The stored rights of a user (MENUS) or of a profile (DET_PERF): one record per
// identifier 2000 to 7000, keyed by business + code (8 wide) + identifier (8 wide).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lib {
class WDBTable;
}

namespace app {

enum class RightsOf { User, Profile };

// The records' key: business + STR(code, 8) [+ STR(id, 8)].
std::string rightsKey(const std::string& business, int code);
std::string rightsKey(const std::string& business, int code, int id);

// The 5001 records of a new user or profile, none granted.
void createRights(RightsOf owner, const std::string& business, int code);
// Whether each identifier is granted (index id - 2000); absent records read as not granted.
std::vector<bool> readRights(RightsOf owner, const std::string& business, int code);
// Writes every identifier's right (adding missing records); only changed records are
// rewritten. `progress` is told every few hundred records.
void writeRights(RightsOf owner, const std::string& business, int code, const std::vector<bool>& granted,
                 const std::function<void()>& progress = {});
void deleteRights(RightsOf owner, const std::string& business, int code);

// The smallest positive code not used by a record of `business` in `table` (scoped by the
// business on its current order, whose key starts with NEGOCIO).
int firstFreeCode(lib::WDBTable& table, const std::string& business);

// Deletes every record whose key on `tag` starts with `prefix`, through the lock protocol.
void deleteWhere(const std::string& tableName, const std::string& tag, const std::string& prefix);

}  // namespace app
