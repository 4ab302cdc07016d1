#pragma once

#include <QString>
#include <QStringList>
#include <functional>

struct AlertRequest {
    QString messageText;
    QString informativeText;
    QStringList buttons; // the first is the default
};

// Modal alerts. Tests replace the person at the screen with a responder.
namespace Alert {
// Answers the index of the button chosen.
int runModal(const AlertRequest& request);

using Responder = std::function<int(const AlertRequest&)>;
void setResponder(Responder responder); // empty: real alerts again
} // namespace Alert
