#pragma once

#include <QRect>
#include <QString>
#include <optional>

// A window's place as text: its frame and its screen's available area, eight
// space-separated integers ("x y width height sx sy swidth sheight", y down).
namespace SavedFrame {
QString format(const QRect& frame, const QRect& screenArea);

struct Parsed {
    QRect frame;
    QRect screenArea;
};
std::optional<Parsed> parse(const QString& text);

// Where a saved frame goes on a screen whose available area is `area` now: the
// same place, moved inside the area when it would be off it.
QRect placeOn(const QRect& frame, const QRect& area);
} // namespace SavedFrame
