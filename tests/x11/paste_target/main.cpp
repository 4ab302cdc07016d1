// Another program with a text field, for the tests of direct paste: it takes the
// focus, says "ready <window id>" on standard output once it has it, and keeps
// the text of its field in the file named by its argument.
#include <QApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <cstdio>

namespace {

class Target : public QPlainTextEdit {
public:
    explicit Target(QString output) : output_(std::move(output)) {
        setWindowTitle(QStringLiteral("Paste target"));
        resize(400, 200);
        connect(this, &QPlainTextEdit::textChanged, this, [this] { save(); });
        save();
    }

protected:
    bool event(QEvent* event) override {
        const bool handled = QPlainTextEdit::event(event);
        // The window manager's activation and the field's focus come in either order.
        if ((event->type() == QEvent::WindowActivate || event->type() == QEvent::FocusIn) &&
            !announced_ && isActiveWindow() && hasFocus()) {
            announced_ = true;
            std::printf("ready %llu\n", static_cast<unsigned long long>(winId()));
            std::fflush(stdout);
        }
        return handled;
    }

private:
    void save() {
        QSaveFile file(output_);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(toPlainText().toUtf8());
            file.commit();
        }
    }

    QString output_;
    bool announced_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    Target target(QString::fromLocal8Bit(argv[1]));
    target.show();
    target.activateWindow();
    target.setFocus();
    return app.exec();
}
