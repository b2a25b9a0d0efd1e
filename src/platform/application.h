// The application object's end request: the program ends when its message loop runs
// next, so code after the request still runs (as it does after asking the
// application to terminate before its loop has started).
#pragma once

namespace pictoralia {

// GUI thread only.
void RequestTerminate();
bool TerminateRequested();
// Forgets an earlier request (each test is a run of its own).
void ClearTerminateRequest();

} // namespace pictoralia
