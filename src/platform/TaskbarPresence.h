#pragma once

// Whether the program's windows are listed in the desktop's taskbar and pager,
// as an ordinary application's are, or kept out of them as a tray utility's.
// The bar and its popups are never listed.
namespace TaskbarPresence {
void setListed(bool listed);
bool isListed();
} // namespace TaskbarPresence
