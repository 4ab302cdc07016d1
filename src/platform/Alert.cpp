#include "platform/Alert.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

namespace Alert {
namespace {
// One slot for both kinds of responder, so that installing either replaces the other.
AnswerResponder& responder() {
    static AnswerResponder current;
    return current;
}
} // namespace

QString suppressionButtonTitle() {
    return QStringLiteral("Do not show this message again");
}

void setResponder(Responder r) {
    if (!r) {
        responder() = {};
        return;
    }
    responder() = [r = std::move(r)](const AlertRequest& request) {
        return AlertAnswer{r(request), false};
    };
}

void setAnswerResponder(AnswerResponder r) {
    responder() = std::move(r);
}

int runModal(const AlertRequest& request) {
    return runModalWithAnswer(request).button;
}

AlertAnswer runModalWithAnswer(const AlertRequest& request) {
    if (responder()) {
        AlertAnswer answer = responder()(request);
        answer.suppressionButtonOn = answer.suppressionButtonOn && request.showsSuppressionButton;
        return answer;
    }
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    box.setText(request.messageText);
    box.setInformativeText(request.informativeText);
    std::vector<QAbstractButton*> buttons;
    for (const QString& title : request.buttons)
        buttons.push_back(box.addButton(title, QMessageBox::AcceptRole));
    if (!buttons.empty())
        box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
    if (request.showsSuppressionButton)
        box.setCheckBox(new QCheckBox(suppressionButtonTitle()));
    box.exec();
    AlertAnswer answer;
    answer.button = int(buttons.size()) - 1;
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == buttons[i])
            answer.button = int(i);
    }
    answer.suppressionButtonOn = box.checkBox() && box.checkBox()->isChecked();
    return answer;
}
} // namespace Alert
