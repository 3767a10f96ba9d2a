#pragma once
// The per-user runtime folder the desktop libraries expect in XDG_RUNTIME_DIR. A session
// started without a login manager (ssh, a container, a headless print run) has none, and
// every drawing program then warns about it on each start. Programs call this before they
// create their application object.

namespace platform {

// When XDG_RUNTIME_DIR is unset, creates a private folder (mode 0700) under the temporary
// folder for this user and points the variable at it. Returns false when none could be made;
// the program then runs as before.
bool ensureRuntimeDir();

}  // namespace platform
