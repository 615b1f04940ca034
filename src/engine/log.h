#pragma once
// The engine's log: plain text on standard output, every message starting on a new line.
// Many messages are a text followed by a value ("isSystemKey: " then the key code), so
// fLog takes any number of pieces and writes them one after the other.
#include <functional>
#include <sstream>
#include <string>

namespace QEL {

// Writes "\n" + message to standard output (and to the sink, when one is set).
void fLogWrite(const std::string& message);

template <class... Pieces>
void fLog(const Pieces&... pieces) {
  std::ostringstream out;
  (out << ... << pieces);
  fLogWrite(out.str());
}

// Tests read the log through a sink; passing an empty function removes it.
// The sink receives each message without its leading line break.
void fSetLogSink(std::function<void(const std::string&)> sink);

}  // namespace QEL
