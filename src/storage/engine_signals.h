#pragma once
// The Firebird client library catches SIGINT and SIGTERM itself and shuts its
// connections down, leaving the program running without them. This hands such
// a signal to the program instead: the library's shutdown is refused, and the
// program closes the way its own menu does.

namespace storage {

// notify runs on the library's signal thread and must only do what is safe
// there (write to a pipe). False when the library refused the callback.
bool ForwardEngineSignals(void (*notify)());

// Takes the callback out again: a signal after this shuts the library down
// the way it would have without us.
void StopForwardingEngineSignals();

}  // namespace storage
