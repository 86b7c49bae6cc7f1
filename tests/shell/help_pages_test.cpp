// The help pages as configura-initdb installs them in AYUDA/: every screen the menu opens has
// its page (named by the entry's rights id, or by its screen class when the entry has none),
// the index lists every page, and every link of the pages leads to a page and a place that
// exist.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "app/module_menu.h"
#include "app/screens.h"
#include "shell/shell_fixture.h"

namespace {

namespace fs = std::filesystem;

// The pages of screens that no menu entry opens: the change history, the screen-opening log
// and the index itself (screens::helpTopic).
const char* const kOtherPages[] = {"HIST_CAMBIOS", "LOG_DIAG_VIEW", "INDEX"};

std::string read(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class HelpPages : public ::testing::Test {
 protected:
  shell_testing::DemoProgram program;
  fs::path folder = fs::path(program.home()) / "AYUDA";

  std::vector<fs::path> pages() const {
    std::vector<fs::path> all;
    for (const auto& f : fs::directory_iterator(folder))
      if (f.path().extension() == ".HTML") all.push_back(f.path());
    return all;
  }
};

void screensOf(const std::vector<app::MenuEntry>& entries, std::vector<const app::MenuEntry*>& out) {
  for (const app::MenuEntry& e : entries) {
    if (e.isMenu())
      screensOf(e.submenu, out);
    else if (!e.screen.empty() && app::screenAvailable(e.screen))
      out.push_back(&e);
  }
}

}  // namespace

TEST_F(HelpPages, EveryScreenTheMenuOpensHasItsPage) {
  app::registerModuleScreens();
  std::vector<const app::MenuEntry*> opened;
  screensOf(app::moduleMenu(), opened);
  ASSERT_GT(opened.size(), 20u);
  std::string missing;
  for (const app::MenuEntry* e : opened) {
    const std::string page = e->id ? std::to_string(e->id) : e->screen;
    if (!fs::exists(folder / (page + ".HTML"))) missing += " " + e->screen + " (" + page + ".HTML)";
  }
  for (const char* page : kOtherPages)
    if (!fs::exists(folder / (std::string(page) + ".HTML"))) missing += std::string(" ") + page + ".HTML";
  EXPECT_TRUE(missing.empty()) << "pantallas sin página de ayuda:" << missing;
  EXPECT_TRUE(fs::exists(folder / "AYUDA.CSS"));
}

TEST_F(HelpPages, TheIndexListsEveryPage) {
  const std::string index = read(folder / "INDEX.HTML");
  std::string unlisted;
  for (const fs::path& page : pages()) {
    const std::string name = page.filename().string();
    if (name != "INDEX.HTML" && index.find("href=\"" + name + "\"") == std::string::npos) unlisted += " " + name;
  }
  EXPECT_TRUE(unlisted.empty()) << "páginas que el índice no nombra:" << unlisted;
}

TEST_F(HelpPages, EveryLinkLeadsToAPageAndAPlaceThatExist) {
  const std::regex link(R"re((?:href|src)="([^"]*)")re");
  std::string broken;
  size_t links = 0;
  for (const fs::path& page : pages()) {
    const std::string text = read(page);
    for (std::sregex_iterator m(text.begin(), text.end(), link), end; m != end; ++m) {
      const std::string target = (*m)[1];
      ++links;
      const size_t hash = target.find('#');
      const std::string file = target.substr(0, hash),
                        anchor = hash == std::string::npos ? "" : target.substr(hash + 1);
      const fs::path to = file.empty() ? page : folder / file;
      if (file.find(':') != std::string::npos || file.find('/') != std::string::npos || !fs::exists(to)) {
        broken += " " + page.filename().string() + "→" + target;
        continue;
      }
      if (!anchor.empty() && read(to).find("id=\"" + anchor + "\"") == std::string::npos)
        broken += " " + page.filename().string() + "→" + target;
    }
  }
  EXPECT_GT(links, 40u);
  EXPECT_TRUE(broken.empty()) << "enlaces que no llevan a ninguna parte:" << broken;
}
