#include "win/timers.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <map>
#include <vector>

#include "lib/clock.h"
#include "lib/globals.h"
#include "win/entry.h"

namespace win {

namespace {

class RealTimers : public TimerService {
 public:
  void start(const void* owner, int id, int periodMs, std::function<void()> tick) override {
    stop(owner, id);
    auto* t = new QTimer;
    t->setInterval(periodMs);
    QObject::connect(t, &QTimer::timeout, [tick = std::move(tick)] { fromEventLoop(tick); });
    t->start();
    timers_[{owner, id}] = t;
  }
  void stop(const void* owner, int id) override {
    auto it = timers_.find({owner, id});
    if (it == timers_.end()) return;
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
  }
  void stopAll(const void* owner) override {
    for (auto it = timers_.begin(); it != timers_.end();) {
      if (it->first.first == owner) {
        it->second->stop();
        it->second->deleteLater();
        it = timers_.erase(it);
      } else {
        ++it;
      }
    }
  }

 private:
  std::map<std::pair<const void*, int>, QTimer*> timers_;
};

class VirtualTimers : public TimerService {
 public:
  struct Entry {
    const void* owner;
    int id;
    int period;
    int64_t due;
    std::function<void()> tick;
    uint64_t serial;
  };

  void start(const void* owner, int id, int periodMs, std::function<void()> tick) override {
    stop(owner, id);
    entries_.push_back({owner, id, std::max(1, periodMs), now() + std::max(1, periodMs), std::move(tick), ++serial_});
  }
  void stop(const void* owner, int id) override {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) { return e.owner == owner && e.id == id; }),
                   entries_.end());
  }
  void stopAll(const void* owner) override {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.owner == owner; }),
                   entries_.end());
  }
  bool virtualTime() const override { return true; }

  // Fires, in time order, every timer due at or before `until`.
  void runUntil(int64_t until) {
    for (;;) {
      auto next = std::min_element(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        return a.due != b.due ? a.due < b.due : a.serial < b.serial;
      });
      if (next == entries_.end() || next->due > until) break;
      int64_t due = next->due;
      moveClockTo(due);
      next->due = due + next->period;
      auto tick = next->tick;  // the tick may stop or restart timers
      fromEventLoop(tick);
      QCoreApplication::sendPostedEvents();
    }
    moveClockTo(until);
  }

  int64_t now() const { return lib::G().clock->ticks(); }

 private:
  void moveClockTo(int64_t t) {
    auto* clock = dynamic_cast<lib::VirtualClock*>(lib::G().clock.get());
    if (clock && t > clock->ticks()) clock->advance(t - clock->ticks());
  }
  std::vector<Entry> entries_;
  uint64_t serial_ = 0;
};

std::unique_ptr<TimerService>& service() {
  static std::unique_ptr<TimerService> s = std::make_unique<RealTimers>();
  return s;
}

}  // namespace

TimerService& timers() {
  return *service();
}

void useVirtualTime() {
  if (!service()->virtualTime()) service() = std::make_unique<VirtualTimers>();
  if (!dynamic_cast<lib::VirtualClock*>(lib::G().clock.get())) lib::G().clock = std::make_unique<lib::VirtualClock>();
}

bool isVirtualTime() {
  return service()->virtualTime();
}

void advance(int64_t ms) {
  auto* v = dynamic_cast<VirtualTimers*>(service().get());
  if (!v) return;
  QCoreApplication::sendPostedEvents();
  v->runUntil(v->now() + ms);
  QCoreApplication::sendPostedEvents();
}

void fireDueTimers() {
  if (auto* v = dynamic_cast<VirtualTimers*>(service().get())) v->runUntil(v->now());
}

}  // namespace win
