#pragma once
/// Points the program's message facade at real modal message boxes.

namespace r73 {

void installQtMessageBoxes();

} // namespace r73
