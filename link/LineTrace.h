#pragma once
/// A record of the line for diagnosis: every byte sent and received, with the time since its
/// exchange began, one JSON object per exchange and line, like the simulator's log. Off unless a
/// file is given; the link reports its bytes here.

#include <QString>
#include <QtGlobal>
#include <functional>

namespace r73::trace {

/// Appends to path from now on (an empty path stops). False, with the reason, when the file
/// cannot be opened; the trace is then off.
bool start(const QString& path, QString* error = nullptr);
bool active();
QString path();
/// Called once when a write fails and the trace stops, with the file and the reason; runs
/// inside the link's exchange, so it must not wait for the user there.
void setFailureHandler(std::function<void(const QString&)> handler);

/// An exchange begins: kind as in the simulator's log ("session", "lookup", "call", "get",
/// "put", "strget", "strput"), name the function or the name looked up.
void begin(const char* kind, const QString& name);
void sent(quint8 raw);
void received(quint8 raw);
/// The exchange ended; writes its line.
void end();

} // namespace r73::trace
