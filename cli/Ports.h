#pragma once
/// r73ctl ports: every serial port with its state, and whether an R73 answers on it.

#include "Command.h"

namespace r73::cli {

Command portsCommand();

} // namespace r73::cli
