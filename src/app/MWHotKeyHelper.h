#pragma once

#include "app/KeyCombo.h"

#include <QMap>
#include <functional>

// The program's registry of global hot keys: registers key combinations, hands
// out identifiers from 1 that only grow, and calls its blocks with the identifier
// when one is pressed or released.
class MWHotKeyHelper {
public:
    static constexpr quint64 failure = ~quint64(0);
    using Block = std::function<void(quint64 identifier)>;

    static MWHotKeyHelper& sharedHelper();
    ~MWHotKeyHelper();

    // The new identifier, or `failure` (nothing stored, or the combination refused).
    quint64 registerHotKey(const KeyCombo& combo);
    void unregisterHotkeyWithID(quint64 identifier);
    // Stored modifier flags to the registration's modifier bits; other bits go.
    static quint64 translateModifierFlags(quint64 flags);

    void hotkeyWasPressedWithID(quint64 identifier);
    void hotkeyWasReleasedWithID(quint64 identifier);

    const Block& pressedBlock() const { return pressedBlock_; }
    void setPressedBlock(Block block) { pressedBlock_ = std::move(block); }
    const Block& releasedBlock() const { return releasedBlock_; }
    void setReleasedBlock(Block block) { releasedBlock_ = std::move(block); }
    bool isRegistered(quint64 identifier) const { return hotkeys_.contains(identifier); }

private:
    MWHotKeyHelper();

    Block pressedBlock_;
    Block releasedBlock_;
    // Identifier to the combination registered under it.
    QMap<quint64, KeyCombo> hotkeys_;
};
