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

// Whether the windowing system can be reached: a Qt platform chosen by
// QT_QPA_PLATFORM, or an X11 or Wayland display named by the environment. Without one
// the application object cannot be made (Qt aborts), so the program says so and ends.
bool DisplayAvailable();

} // namespace pictoralia
