#pragma once

#include <QRect>
#include <optional>

class QWidget;

namespace WindowGeometry {
// Where `window` is on screen as the X server has it now. Qt's own idea can be
// out of date for a window another program has embedded (the tray icon) and
// then moved. Nothing without X11.
std::optional<QRect> onScreen(const QWidget* window);
} // namespace WindowGeometry
