// draw_serials: another workstation drawing serial numbers, for the scenario scripts.
//
//   draw_serials FILE RECNO
//
// Takes the next number of the counter at record RECNO of a SERIALES table over and over, as
// every program of the suite does — lock the record (which reads it again), NUMERO + 1,
// release (which writes it) — until its standard input closes. Prints "ok" once it has
// drawn its first number. At the end it checks what it drew: each number larger than the
// one before (none handed out twice) and the counter left at the last one (none lost);
// it exits 1 naming the first fault, 0 with the count of numbers drawn.
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <thread>

#include "xbase/dbf_table.h"

namespace {

bool inputClosed() {
  pollfd p{0, POLLIN, 0};
  if (::poll(&p, 1, 0) <= 0) return false;
  char c;
  return ::read(0, &c, 1) <= 0;
}

// The counter under its lock, retried while the program holds it.
template <typename F>
void holding(xbase::DbfTable& t, uint32_t recno, F body) {
  while (!t.lockRecord(recno)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  body();
  t.unlockRecord(recno);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "uso: draw_serials ARCHIVO REGISTRO\n";
    return 2;
  }
  const uint32_t recno = uint32_t(std::strtoul(argv[2], nullptr, 10));
  try {
    auto t = xbase::DbfTable::open(argv[1], {true, false});
    double last = -1;
    long drawn = 0;
    std::string fault;
    do {
      holding(*t, recno, [&] {
        t->goTo(recno);
        const double next = t->getNumber("NUMERO") + 1;
        t->putNumber("NUMERO", next);
        if (next <= last && fault.empty())
          fault = "el número " + std::to_string(long(next)) + " se entregó de nuevo (el anterior fue " +
                  std::to_string(long(last)) + ")";
        last = next;
      });
      if (++drawn == 1) std::cout << "ok" << std::endl;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } while (!inputClosed());
    holding(*t, recno, [&] {
      t->goTo(recno);
      const double counter = t->getNumber("NUMERO");
      if (counter != last && fault.empty())
        fault = "el contador quedó en " + std::to_string(long(counter)) + " y el último número entregado fue " +
                std::to_string(long(last));
    });
    if (!fault.empty()) {
      std::cerr << "draw_serials: " << fault << " (" << drawn << " números)\n";
      return 1;
    }
    std::cerr << "draw_serials: " << drawn << " números, el último " << long(last) << "\n";
  } catch (const std::exception& e) {
    std::cerr << "draw_serials: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
