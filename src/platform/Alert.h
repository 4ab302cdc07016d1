#pragma once

#include <QString>
#include <QStringList>
#include <functional>

struct AlertRequest {
    QString messageText;
    QString informativeText;
    QStringList buttons; // the first is the default
    // A check box under the text for the person to say "do not show this again".
    bool showsSuppressionButton = false;
};

struct AlertAnswer {
    int button = 0;
    bool suppressionButtonOn = false; // false when the box was not shown
};

// Modal alerts. Tests replace the person at the screen with a responder.
namespace Alert {
// The text of the suppression check box.
QString suppressionButtonTitle();

// Answers the index of the button chosen.
int runModal(const AlertRequest& request);
// The button chosen and the state of the suppression check box.
AlertAnswer runModalWithAnswer(const AlertRequest& request);

using Responder = std::function<int(const AlertRequest&)>;
void setResponder(Responder responder); // empty: real alerts again
// A responder that can also tick the suppression check box.
using AnswerResponder = std::function<AlertAnswer(const AlertRequest&)>;
void setAnswerResponder(AnswerResponder responder); // empty: real alerts again
} // namespace Alert
