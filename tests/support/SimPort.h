#pragma once
/// The window's in-process controller port, under the name the tests know it by.

#include "SimSerialPort.h"

namespace r73::test {
using SimPort = sim::SimSerialPort;
}
