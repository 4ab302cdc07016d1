#pragma once

namespace QVHelpers {
// Whether the user chose the dark interface style.
bool isDarkMode();
} // namespace QVHelpers
