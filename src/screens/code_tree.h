// A tree of codes in two levels, as the screens that edit groups and their members from a
// tree show them ("Segmentos de Mercado": segments and their details; "Países": countries
// and their states): a root, each group of one table under it, each group's members from
// another table under the group, every level sorted by text.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "win/controls.h"

namespace screens {

struct CodeTreeItem {
  int level = 0;  // 0 the root, 1 a group, 2 a member
  std::string group, code, text;
  uint32_t recno = 0;
};

// A table's records under a key prefix, in the order of one of its tags.
struct CodeTreeRecords {
  std::string table, tag, prefix;
};

struct CodeTree {
  std::string rootText;
  CodeTreeRecords groups;
  // The records of the members of a group (its code, trimmed).
  std::function<CodeTreeRecords(const std::string& group)> members;
};

// Fills `tree` afresh and `items` with what each node stands for (texts from DESCRIP,
// codes from CODIGO); the item of `level`, `group` and `code` — the one just saved — is
// chosen and shown, else the root.
void LOAD_CODE_TREE(win::TREEVIEW& tree, std::map<win::TreeNode, CodeTreeItem>& items, const CodeTree& shape, int level,
                    const std::string& group, const std::string& code);

}  // namespace screens
