#pragma once
/// The two national flags of the language dialog, drawn in code so that no image files ship.

#include <QPixmap>

namespace r73 {

/// The German flag, black, red and gold stripes, 24 × 16 pixels.
QPixmap germanFlag();

/// The flag of the United States in the small form a 22 × 14 pixel bitmap allows: red and white
/// stripes with a blue canton dotted with white.
QPixmap usFlag();

} // namespace r73
