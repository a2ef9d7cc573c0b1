// Ctrl-C (SIGINT) and SIGTERM during a long command: instead of dying with its files half
// written, the command notices at its next progress report and unwinds, and whatever it
// cleans up on failure is cleaned up.
#pragma once

#include <csignal>

namespace orviadic {

class InterruptFlag {
 public:
  // Catches both signals until destroyed; a second signal ends the program at once.
  InterruptFlag();
  ~InterruptFlag();
  InterruptFlag(const InterruptFlag&) = delete;
  InterruptFlag& operator=(const InterruptFlag&) = delete;

  // Throws CommandFailure (exit kExitInterrupted) once a signal came.
  void throwIfRaised() const;

 private:
  struct sigaction previousInt_ {};
  struct sigaction previousTerm_ {};
};

}  // namespace orviadic
