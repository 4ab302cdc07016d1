#include "platform/Alert.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Answers the real alert box once it is up: ticks its check box when asked to and
// presses its first button. Records what the box offered.
struct Person {
    bool tick = false;
    bool sawCheckBox = false;
    QString checkBoxText;

    void answerNextBox() {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [this, poll] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll->stop();
            poll->deleteLater();
            sawCheckBox = box->checkBox() != nullptr;
            if (box->checkBox()) {
                checkBoxText = box->checkBox()->text();
                box->checkBox()->setChecked(tick);
            }
            box->buttons().last()->click();
        });
        poll->start(10);
    }
};

TEST(Alert, TheRealBoxOffersItsSuppressionCheckBoxOnlyWhenAsked) {
    struct Case {
        const char* what;
        bool shows;
        bool tick;
        AlertAnswer expected;
    };
    const std::vector<Case> cases = {
        {"no box", false, true, {0, false}},
        {"box left empty", true, false, {0, false}},
        {"box ticked", true, true, {0, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Person person;
        person.tick = c.tick;
        person.answerNextBox();
        AlertRequest request{"Message", "Details", {"Okay"}};
        request.showsSuppressionButton = c.shows;
        const AlertAnswer answer = Alert::runModalWithAnswer(request);
        EXPECT_EQ(answer.button, c.expected.button);
        EXPECT_EQ(answer.suppressionButtonOn, c.expected.suppressionButtonOn);
        EXPECT_EQ(person.sawCheckBox, c.shows);
        if (c.shows)
            EXPECT_EQ(person.checkBoxText, Alert::suppressionButtonTitle());
    }
}

TEST(Alert, ResponderOfEitherKindStandsInForThePerson) {
    Alert::setResponder(
        [](const AlertRequest& request) { return int(request.buttons.size()) - 1; });
    AlertRequest request{"Message", "", {"One", "Two"}};
    request.showsSuppressionButton = true;
    EXPECT_EQ(Alert::runModal(request), 1);
    EXPECT_FALSE(Alert::runModalWithAnswer(request).suppressionButtonOn)
        << "a responder that only picks a button leaves the box empty";

    Alert::setAnswerResponder([](const AlertRequest&) { return AlertAnswer{0, true}; });
    EXPECT_TRUE(Alert::runModalWithAnswer(request).suppressionButtonOn);
    request.showsSuppressionButton = false;
    EXPECT_FALSE(Alert::runModalWithAnswer(request).suppressionButtonOn)
        << "nobody can tick a box that was not shown";
    Alert::setResponder({});
}

} // namespace
