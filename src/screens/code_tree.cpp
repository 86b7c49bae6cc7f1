#include "screens/code_tree.h"

#include "lib/text.h"
#include "lib/use.h"

namespace screens {

namespace {

// The picture the items' cargo is shown with: the code as stored.
constexpr const char* kCargoPicture = "XXXXXXXXXXXXXXX";

}  // namespace

void LOAD_CODE_TREE(win::TREEVIEW& tree, std::map<win::TreeNode, CodeTreeItem>& items, const CodeTree& shape, int level,
                    const std::string& group, const std::string& code) {
  tree.ZAP_TREE();
  items.clear();
  win::TreeNode root = tree.ADDLASTCHILD(tree.GETROOT(), shape.rootText);
  items[root] = {};
  win::TreeNode again = root;
  const CodeTreeRecords& g = shape.groups;
  lib::EACH_RECORD(g.table, g.tag, g.prefix, [&](const lib::WDBTable& top) {
    const std::string owner = lib::trim(top.S("CODIGO"));
    win::TreeNode node = tree.ADDLASTCHILD(root, top.S("DESCRIP"), owner, owner, top.RecNo(), kCargoPicture);
    items[node] = {1, owner, owner, top.S("DESCRIP"), top.RecNo()};
    if (level == 1 && owner == code) again = node;
    const CodeTreeRecords m = shape.members(owner);
    lib::EACH_RECORD(m.table, m.tag, m.prefix, [&](const lib::WDBTable& member) {
      const std::string own = lib::trim(member.S("CODIGO"));
      win::TreeNode child = tree.ADDLASTCHILD(node, member.S("DESCRIP"), own, own, member.RecNo(), kCargoPicture);
      items[child] = {2, owner, own, member.S("DESCRIP"), member.RecNo()};
      if (level == 2 && owner == group && own == code) {
        again = child;
        tree.EXPAND(node);
      }
    });
  });
  tree.SORT(true);
  tree.EXPAND(root);
  tree.Select(again);
  tree.REFRESH();
}

}  // namespace screens
