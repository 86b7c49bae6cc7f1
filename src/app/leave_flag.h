// The leave-the-system flag file BLOQUEAD.! in the program folder: 17 characters (read up
// to 50). Character 1 "1" lifts the exemption of supervisors and exempt users; characters
// 2 onwards ask module groups to leave, position 8 being this program's ("Hotel"); when
// none of them is set (their digits sum to 0) every module must leave.
#pragma once

#include <optional>
#include <string>

namespace app {

inline constexpr int kModulePosition = 8;

struct LeaveFlag {
  std::string text;  // what the file holds (first 50 characters)

  bool supervisorsToo() const { return !text.empty() && text[0] == '1'; }
  // Whether this module must leave, looking at characters 2 to `last`.
  bool moduleMustLeave(size_t last = 50) const;
};

// The flag file's content, or nullopt when there is none (free access).
std::optional<LeaveFlag> readLeaveFlag();
// Writes the flag file; false when it cannot be created.
bool writeLeaveFlag(const std::string& text);
void removeLeaveFlag();

}  // namespace app
