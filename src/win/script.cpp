#include "win/script.h"

#include <QApplication>
#include <cstdio>
#include <deque>
#include <fstream>
#include <stdexcept>

#include "lib/globals.h"
#include "lib/messages.h"
#include "lib/text.h"
#include "win/driver.h"
#include "win/main_frame.h"
#include "win/wait.h"
#include "win/wdiag.h"

#include <QAction>

namespace win {

namespace {

std::string lower(std::string s) {
  for (auto& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string oneLine(std::string s) {
  for (size_t at = 0; (at = s.find_first_of("\r\n", at)) != std::string::npos;) {
    size_t len = (s[at] == '\r' && at + 1 < s.size() && s[at + 1] == '\n') ? 2 : 1;
    s.replace(at, len, "\\n");
  }
  return s;
}

std::string normalized(std::string s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else {
      out.push_back(s[i]);
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

int answerNamed(const std::string& w) {
  std::string a = lower(w);
  if (a == "ok") return lib::IDOK;
  if (a == "cancel") return lib::IDCANCEL;
  if (a == "yes") return lib::IDYES;
  if (a == "no") return lib::IDNO;
  if (a == "retry") return lib::IDRETRY;
  if (a == "ignore") return lib::IDIGNORE;
  if (a == "abort") return lib::IDABORT;
  return -1;
}

int keyNamed(const std::string& w) {
  std::string k = lower(w);
  if (k == "backspace") return Qt::Key_Backspace;
  if (k == "delete") return Qt::Key_Delete;
  if (k == "enter") return Qt::Key_Return;
  if (k == "escape") return Qt::Key_Escape;
  if (k == "tab") return Qt::Key_Tab;
  if (k == "f2") return Qt::Key_F2;
  if (k == "f3") return Qt::Key_F3;
  if (k == "f12") return Qt::Key_F12;
  if (k == "pageup") return Qt::Key_PageUp;
  if (k == "pagedown") return Qt::Key_PageDown;
  return -1;
}

struct Failure {
  std::string what;
};

// A menu entry by id, or by caption as @"CAPTION".
int menuId(const MainFrame* frame, const std::string& named) {
  if (named.size() > 1 && named[0] == '@') return frame ? frame->actionId(named.substr(1)) : 0;
  return std::atoi(named.c_str());
}

}  // namespace

std::vector<ScriptLine> parseScript(const std::string& text) {
  std::vector<ScriptLine> lines;
  int number = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? text.size() + 1 : end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ScriptLine sl{number, {}};
    size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
      if (i >= line.size()) break;
      if (line[i] == '#' && sl.words.empty()) break;
      std::string word;
      bool quoted = false;
      while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
        char c = line[i++];
        if (c == '"') {
          quoted = !quoted;
        } else if (c == '\\' && quoted && i < line.size()) {
          char n = line[i++];
          word.push_back(n == 'n' ? '\n' : n == 'r' ? '\r' : n == 't' ? '\t' : n);
        } else {
          word.push_back(c);
        }
      }
      if (quoted) throw std::runtime_error("línea " + std::to_string(number) + ": comillas sin cerrar");
      sl.words.push_back(word);
    }
    if (!sl.words.empty()) lines.push_back(sl);
  }
  return lines;
}

int runScript(const std::vector<ScriptLine>& lines, std::ostream& out, const ScriptHooks& hooks) {
  Driver& d = Driver::instance();
  d.onMessage = [&out](const RecordedMessage& m) {
    out << "MESSAGE [" << oneLine(m.title) << "] " << oneLine(m.text) << "\n";
    out.flush();
  };
  int status = 0;
  std::vector<std::function<void()>> steps;
  if (hooks.start) steps.push_back(hooks.start);
  std::function<void(const ScriptLine&)> execute;
  std::deque<std::pair<long, ScriptLine>> duringRun;  // on-progress steps, in order, with texts to wait
  execute = [&](const ScriptLine& line) {
    if (status != 0) return;
    const auto& w = line.words;
    auto arg = [&](size_t i) -> const std::string& {
      if (i >= w.size()) throw Failure{"falta un argumento"};
      return w[i];
    };
    auto id = [&](size_t i) {
      int v = d.resolve(arg(i));
      if (v < 0) throw Failure{"no hay control " + arg(i) + " en " + d.activeName()};
      return v;
    };
    try {
      const std::string cmd = lower(w[0]);
      if (cmd == "login") {
        std::string problem = "el ingreso todavía no está disponible";
        if (!hooks.login || !hooks.login(arg(1), arg(2), w.size() > 3 ? w[3] : "", &problem)) throw Failure{problem};
      } else if (cmd == "menu") {
        MainFrame* f = MainFrame::instance();
        int m = menuId(f, arg(1));
        QAction* a = f ? f->action(m) : nullptr;
        if (!a) throw Failure{"no existe la entrada de menú " + arg(1)};
        d.chooseMenu(m);  // a greyed entry does nothing, as for a user
      } else if (cmd == "window" || cmd == "expect-window") {
        if (lower(d.activeName()) != lower(arg(1))) throw Failure{"ventana activa " + d.activeName()};
      } else if (cmd == "set") {
        d.setText(id(1), arg(2));
      } else if (cmd == "type") {
        d.type(id(1), arg(2));
      } else if (cmd == "key") {
        int k = keyNamed(arg(2));
        if (k < 0) throw Failure{"tecla desconocida " + arg(2)};
        d.key(id(1), k);
      } else if (cmd == "select") {
        if (!d.select(id(1), arg(2))) throw Failure{"no hay entrada con el valor " + arg(2)};
      } else if (cmd == "select-text") {
        if (!d.selectText(id(1), arg(2))) throw Failure{"no hay entrada con el texto " + arg(2)};
      } else if (cmd == "check") {
        d.check(id(1), lower(arg(2)) == "on");
      } else if (cmd == "press") {
        d.press(id(1));
      } else if (cmd == "right-click") {
        d.rightClick(id(1));
      } else if (cmd == "tab") {
        if (!d.tab(arg(1))) throw Failure{"no hay pestaña " + arg(1) + " en " + d.activeName()};
      } else if (cmd == "expect-enabled") {
        bool want = lower(arg(2)) == "on";
        if (d.enabled(id(1)) != want)
          throw Failure{std::string("el control está ") + (want ? "deshabilitado" : "habilitado")};
      } else if (cmd == "tree") {
        if (!d.clickTree(id(1), arg(2))) throw Failure{"no hay elemento " + arg(2)};
      } else if (cmd == "tree-menu") {
        if (!d.treeMenu(id(1), arg(2))) throw Failure{"no hay entrada " + arg(2) + " en el menú del árbol"};
      } else if (cmd == "grid") {
        std::string what = lower(arg(2));
        if (what == "row") {
          if (!d.gridRow(id(1), std::atoi(arg(3).c_str()))) throw Failure{"no hay fila " + arg(3)};
        } else if (what == "key") {
          if (!d.gridSeek(id(1), arg(3)) && d.gridCount(id(1)) < 0) throw Failure{"no hay grilla " + arg(1)};
        } else {
          throw Failure{"se espera grid ID row N o grid ID key TEXTO"};
        }
      } else if (cmd == "grid-key") {
        if (!d.gridType(id(1), arg(2))) throw Failure{"no hay grilla " + arg(1)};
      } else if (cmd == "grid-header") {
        if (!d.gridHeader(id(1), arg(2))) throw Failure{"no hay columna " + arg(2)};
      } else if (cmd == "grid-menu") {
        if (!d.gridMenu(id(1), arg(2))) throw Failure{"no hay entrada " + arg(2) + " en el menú de la grilla"};
      } else if (cmd == "expect-grid") {
        std::string found = d.gridCell(id(1), std::atoi(arg(2).c_str()), arg(3));
        if (normalized(found) != normalized(arg(4))) throw Failure{"la celda dice \"" + oneLine(found) + "\""};
      } else if (cmd == "expect-grid-color") {
        std::string found = d.gridRowColor(id(1), std::atoi(arg(2).c_str()));
        if (lib::upper(found) != lib::upper(arg(3))) throw Failure{"la fila tiene el color \"" + found + "\""};
      } else if (cmd == "expect-grid-count") {
        int n = d.gridCount(id(1));
        if (n != std::atoi(arg(2).c_str())) throw Failure{"la grilla tiene " + std::to_string(n) + " filas"};
      } else if (cmd == "answer") {
        int a = answerNamed(arg(1));
        if (a < 0) throw Failure{"respuesta desconocida " + arg(1)};
        d.answer(a);
      } else if (cmd == "expect-message") {
        RecordedMessage* m = d.nextUnchecked();
        if (!m) throw Failure{"no se mostró ningún mensaje"};
        m->checked = true;
        if (normalized(m->text) != normalized(arg(1)) || (w.size() > 2 && m->title != w[2]))
          throw Failure{"se mostró [" + oneLine(m->title) + "] " + oneLine(m->text)};
      } else if (cmd == "expect-error") {
        // The error window: its message (the first line) names what failed.
        RecordedMessage* m = d.nextUnchecked();
        if (!m) throw Failure{"no se mostró la ventana de error"};
        m->checked = true;
        const std::string message = m->text.substr(0, m->text.find('\r'));
        if (m->title != "ERROR DE SISTEMA" || message.find(arg(1)) == std::string::npos)
          throw Failure{"se mostró [" + oneLine(m->title) + "] " + oneLine(message)};
      } else if (cmd == "expect-no-message") {
        if (RecordedMessage* m = d.nextUnchecked()) throw Failure{"se mostró [" + m->title + "] " + oneLine(m->text)};
      } else if (cmd == "expect-text") {
        std::string found = d.text(id(1));
        if (normalized(found) != normalized(arg(2))) throw Failure{"el texto es \"" + oneLine(found) + "\""};
      } else if (cmd == "expect-menu") {
        MainFrame* f = MainFrame::instance();
        QAction* a = f ? f->action(menuId(f, arg(1))) : nullptr;
        std::string state = !a ? "missing" : a->isEnabled() ? "enabled" : "greyed";
        if (state != lower(arg(2))) throw Failure{"la entrada está " + state};
      } else if (cmd == "right-click-menu") {
        MainFrame* f = MainFrame::instance();
        int m = menuId(f, arg(1));
        if (!f || !f->action(m)) throw Failure{"no existe la entrada de menú " + arg(1)};
        if (hooks.menuRightClick) hooks.menuRightClick(m);
      } else if (cmd == "request") {
        if (hooks.request) hooks.request(std::atoi(arg(1).c_str()), w.size() > 2 ? std::atoi(w[2].c_str()) : 0);
      } else if (cmd == "expect-exit") {
        if (!hooks.ended || !hooks.ended()) throw Failure{"el programa sigue abierto"};
      } else if (cmd == "expect-checked") {
        bool want = lower(arg(2)) == "on";
        MainFrame* f = MainFrame::instance();
        bool isMenu = arg(1).rfind("menu:", 0) == 0;
        bool found;
        if (isMenu) {
          QAction* a = f ? f->action(menuId(f, arg(1).substr(5))) : nullptr;
          if (!a) throw Failure{"no existe la entrada de menú " + arg(1)};
          found = a->isChecked();
        } else {
          found = d.checked(id(1));
        }
        if (found != want) throw Failure{std::string("la marca está ") + (found ? "on" : "off")};
      } else if (cmd == "expect-items") {
        std::string joined;
        for (const std::string& item : d.items(id(1))) joined += (joined.empty() ? "" : "|") + item;
        if (joined != arg(2)) throw Failure{"los elementos son \"" + joined + "\""};
      } else if (cmd == "write-file") {
        std::ofstream file(lib::G().PATH + arg(1), std::ios::binary);
        if (!(file << arg(2))) throw Failure{"no se pudo escribir " + arg(1)};
      } else if (cmd == "remove-file") {
        std::remove((lib::G().PATH + arg(1)).c_str());
      } else if (cmd == "advance") {
        d.advance(std::atoll(arg(1).c_str()));
      } else if (cmd == "minimize") {
        d.minimize(lower(arg(1)) == "on");
      } else if (cmd == "on-progress") {
        // The step waits for a run: it is taken when a progress window has shown N texts,
        // counted from the on-progress step before it when that one waits too.
        long count = std::atol(arg(1).c_str());
        if (count <= 0 || w.size() < 3) throw Failure{"on-progress necesita un número y un paso"};
        duringRun.push_back({count, ScriptLine{line.number, std::vector<std::string>(w.begin() + 2, w.end())}});
        if (!WAIT::putTextHook())
          WAIT::putTextHook() = [&execute, &duringRun](WAIT&) {
            if (duringRun.empty() || --duringRun.front().first > 0) return;
            // Clearing the hook destroys this closure: what the step needs is copied first.
            std::function<void(const ScriptLine&)>& run = execute;
            const ScriptLine step = duringRun.front().second;
            duringRun.pop_front();
            if (duringRun.empty()) WAIT::putTextHook() = nullptr;
            run(step);
          };
      } else if (cmd == "screenshot") {
        if (!d.screenshot(arg(1))) throw Failure{"no se pudo guardar " + arg(1)};
      } else if (cmd == "close") {
        d.closeActive();
      } else if (cmd == "quit") {
        if (hooks.quit) hooks.quit();
        d.stop();
      } else {
        throw Failure{"paso desconocido " + w[0]};
      }
    } catch (const Failure& f) {
      out << "línea " << line.number << ": " << f.what << "\n";
      status = 1;
      d.stop();
    }
  };
  for (const ScriptLine& line : lines) steps.push_back([&, line] { execute(line); });
  d.run(std::move(steps));
  WAIT::putTextHook() = nullptr;
  d.onMessage = nullptr;
  return status;
}

}  // namespace win
