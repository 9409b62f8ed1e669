#pragma once
/// The program's own version as the window and its documents name it.

namespace r73 {

/// As the identification area shows it after "SW-Version: ".
inline constexpr auto ProgramVersionText = "3.14";

} // namespace r73
