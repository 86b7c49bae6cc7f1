// The run-time error handler: what the program does with an xbase::Error nobody handled.
//
// Sharing violations and refused append locks are answered "default" at once (the retry
// loops of the data layer rely on that), sub-codes 6313 and 6102 too. Any other error is
// shown in the error window with its report; before that the handler rolls back an open
// server transaction, writes the error to ERROR and to the session's LOG_E_S record, and
// mails the report (or queues it in E_MSGS). The user then chooses Salir, Reintentar
// (only when the error can be retried) or Ignorar (only when it can be defaulted).
//
// How a screen command or a process step is protected:
//
//   void ROOMS::ADD_ROOMS() {
//     CALL_LEVEL_NAMED("ROOMS:ADD_ROOMS");
//     bool done = app::guarded([&] { return addRoom(); }, false);
//     ...
//   }
//
// guarded runs the step; when it throws xbase::Error it asks ERRORSYS_HANDLE and runs the
// step again on Retry, returns the fallback on Default, and throws ProgramQuit on Quit.
// The main program catches ProgramQuit and ends with exitCode().
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>

#include "xbase/error.h"

namespace app {

enum class ErrorAction { Retry, Default, Quit };

// Decides what the user chose in the error window: Salir (Quit), Reintentar (Retry, only
// offered when canRetry), Ignorar (Default, only when canDefault).
using ErrorWindow =
    std::function<ErrorAction(const std::string& message, const std::string& report, bool canRetry, bool canDefault)>;

// The window layer installs the real ERROR_SPEC dialog; an empty function restores the
// console window (message and report to stderr, answer Quit).
void setErrorWindow(ErrorWindow w);

// The handler's decision for one error.
ErrorAction ERRORSYS_HANDLE(const xbase::Error& e);

// "Error DBFCDX/1012  description: FILE" (or ": operation" when there is no file).
std::string errorMessage(const xbase::Error& e);
// "File: ... GenCode: n OsCode: n", CR LF, then one "Called from ROUTINE(LINE)" line per
// active call level, innermost first.
std::string errorDetail(const xbase::Error& e);
// The text of the window's large box, each part on its own line (CR LF): "Módulo  : ",
// "Fecha/H.: ", "Computer: ", "V32 WinUser : ", the message and the detail.
std::string errorReport(const xbase::Error& e);

// 1 once the user chose Salir, 0 before.
int exitCode();
// Back to the state of a fresh process: exit code 0, console window (tests).
void resetErrorHandler();

// The user chose Salir: the tables are committed; whoever catches this ends the program
// with exitCode().
class ProgramQuit : public std::exception {
 public:
  const char* what() const noexcept override { return "fin del programa por error de sistema"; }
};

namespace detail {

enum class Attempt { Done, Retry, Default };
// Runs `op` once. A run-time error (or any other exception, reported as a run-time error of
// the program itself, which may be ignored) goes to the handler: Retry when the user chose
// to try again, Default when the operation is to return its default (always offered when
// `abandonable`); ProgramQuit is thrown on Salir.
Attempt attempt(const std::function<void()>& op, bool abandonable = false);

}  // namespace detail

// Runs `op`, handling its run-time errors as described above; returns what op returns, or
// `fallback` when the user (or the handler) chose the default.
template <typename F>
requires(!std::is_void_v<std::invoke_result_t<F&>>) std::invoke_result_t<F&> guarded(
    F op, std::invoke_result_t<F&> fallback) {
  std::optional<std::invoke_result_t<F&>> result;
  for (;;) {
    switch (detail::attempt([&] { result.emplace(op()); })) {
      case detail::Attempt::Done:
        return std::move(*result);
      case detail::Attempt::Default:
        return fallback;
      case detail::Attempt::Retry:
        break;
    }
  }
}

// The same for a step that returns nothing: on Default it is simply abandoned.
template <typename F>
requires std::is_void_v<std::invoke_result_t<F&>>
void guarded(F op) {
  while (detail::attempt(op) == detail::Attempt::Retry) {
  }
}

// An entry from the event loop (a command, a menu entry, a timer...): as guarded, but the
// user may always go on, abandoning the entry (an entry has no result to default), and
// Salir runs the quit action instead of throwing into the event loop.
void guardedEntry(const std::function<void()>& step);
// What ends the program when the user chose Salir inside an entry (the main program sets
// it; by default the process ends with the exit code).
void setQuitAction(std::function<void(int exitCode)> quit);

}  // namespace app
