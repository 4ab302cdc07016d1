#include "platform/Alert.h"

#include <QMessageBox>
#include <QPushButton>

namespace Alert {
namespace {
Responder& responder() {
    static Responder current;
    return current;
}
} // namespace

void setResponder(Responder r) {
    responder() = std::move(r);
}

int runModal(const AlertRequest& request) {
    if (responder())
        return responder()(request);
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    box.setText(request.messageText);
    box.setInformativeText(request.informativeText);
    std::vector<QAbstractButton*> buttons;
    for (const QString& title : request.buttons)
        buttons.push_back(box.addButton(title, QMessageBox::AcceptRole));
    if (!buttons.empty())
        box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == buttons[i])
            return int(i);
    }
    return int(buttons.size()) - 1;
}
} // namespace Alert
