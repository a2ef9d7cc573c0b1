#include "interrupt_flag.h"

#include "conventions.h"

namespace orviadic {
namespace {

volatile std::sig_atomic_t raised = 0;

void noteSignal(int) {
  raised = 1;
}

}  // namespace

InterruptFlag::InterruptFlag() {
  raised = 0;
  struct sigaction action {};
  action.sa_handler = noteSignal;
  // The first signal is noted; the handler is then reset, so a second one ends the
  // program for a user who does not want to wait for the clean-up.
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &previousInt_);
  sigaction(SIGTERM, &action, &previousTerm_);
}

InterruptFlag::~InterruptFlag() {
  sigaction(SIGINT, &previousInt_, nullptr);
  sigaction(SIGTERM, &previousTerm_, nullptr);
}

void InterruptFlag::throwIfRaised() const {
  if (raised != 0)
    throw CommandFailure{kExitInterrupted, "interrupted; no file of the compile was installed"};
}

}  // namespace orviadic
