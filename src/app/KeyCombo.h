#pragma once

#include <QtGlobal>

// A global hot key: modifier flags then virtual key code; 0 and 0 means none.
struct KeyCombo {
    quint64 flags = 0;
    qint64 code = 0;

    bool isEmpty() const { return flags == 0 && code == 0; }
    bool operator==(const KeyCombo&) const = default;
};
