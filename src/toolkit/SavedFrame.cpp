#include "toolkit/SavedFrame.h"

#include <QStringList>
#include <algorithm>

namespace SavedFrame {

QString format(const QRect& frame, const QRect& screenArea) {
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
        .arg(frame.x())
        .arg(frame.y())
        .arg(frame.width())
        .arg(frame.height())
        .arg(screenArea.x())
        .arg(screenArea.y())
        .arg(screenArea.width())
        .arg(screenArea.height());
}

std::optional<Parsed> parse(const QString& text) {
    const QStringList parts = text.split(u' ', Qt::SkipEmptyParts);
    if (parts.size() != 8)
        return std::nullopt;
    int numbers[8];
    for (int i = 0; i < 8; ++i) {
        bool ok = false;
        numbers[i] = parts[i].toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (numbers[2] <= 0 || numbers[3] <= 0)
        return std::nullopt;
    return Parsed{QRect(numbers[0], numbers[1], numbers[2], numbers[3]),
                  QRect(numbers[4], numbers[5], numbers[6], numbers[7])};
}

QRect placeOn(const QRect& frame, const QRect& area) {
    if (area.isEmpty())
        return frame;
    QRect placed = frame;
    placed.moveLeft(std::clamp(frame.left(), area.left(),
                               std::max(area.left(), area.right() + 1 - frame.width())));
    placed.moveTop(std::clamp(frame.top(), area.top(),
                              std::max(area.top(), area.bottom() + 1 - frame.height())));
    return placed;
}

} // namespace SavedFrame
