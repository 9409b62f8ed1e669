// The entries of the menu "Extras": one block per subsystem, in the order they appear.

#include "ProgramWindows.h"

void ProgramWindows::addExtras()
{
}
