#pragma once
// The system's message box, shown so that it cannot trap the program: the system shows it
// from a process of its own and waits for it deaf to signals, so a SIGTERM or SIGINT that
// comes while it is up takes that process away, and then reaches the program as it would
// have without the box (SDL turns it into the window's close: the game saves and ends).
#include <functional>
#include <string>

namespace platform {

// Shows the box and waits until it is answered or the program is asked to end. False when
// no box could be shown (no display, a close already asked for, the system's box failed) or
// it was taken away; the caller then logs what it said.
bool showBoxUntilAnswered(const std::string& text, const std::string& caption);

// Tests: a box of their own in place of the system's (also without a display), which shows
// itself as the system's does, from a process it starts and waits for; true when it was
// answered. An empty function gives the system's box back.
void setMessageBoxShower(std::function<bool(const std::string& text, const std::string& caption)> shower);

}  // namespace platform
