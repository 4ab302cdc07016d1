#pragma once

#include "manage/MWModuleViewController.h"
#include "toolkit/MWViewController.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>

// A log as one line, so that a failed comparison shows it readably.
inline std::string joined(const QStringList& lines) {
    return lines.join(QStringLiteral(" | ")).toStdString();
}

// Writes its appearance hooks into a shared log as "<name> <hook>", with whatever
// the test wants to know at that moment appended by `detail`.
template <class Base> class Recording : public Base {
public:
    Recording(QString name, std::shared_ptr<QStringList> log) : name_(std::move(name)), log_(log) {}

    QString name() const { return name_; }
    std::function<QString()> detail;

    void mw_viewWillAppear() override { record("willAppear"); }
    void mw_viewDidAppear() override { record("didAppear"); }
    void mw_viewWillDisappear() override { record("willDisappear"); }
    void mw_viewDidDisappear() override { record("didDisappear"); }

    // Nothing set means no minimum, as in the base.
    QSize viewMinSize() const override {
        return this->storedViewMinSize().isValid() ? this->storedViewMinSize() : QSize(0, 0);
    }
    // The size the view was laid out at.
    void setViewSize(QSize size) { this->view()->resize(size); }

private:
    void record(const char* hook) {
        QString line = name_ + QLatin1Char(' ') + QLatin1String(hook);
        if (detail)
            line += QLatin1Char(' ') + detail();
        log_->append(line);
    }

    QString name_;
    std::shared_ptr<QStringList> log_;
};

class RecordingPage : public Recording<MWViewController> {
    Q_OBJECT
public:
    using Recording::Recording;
};

class RecordingModule : public Recording<MWModuleViewController> {
    Q_OBJECT
public:
    RecordingModule(QString name, std::shared_ptr<QStringList> log, bool resizable = false)
        : Recording(name, log), resizable_(resizable) {
        setModuleTitle(name);
    }
    bool moduleIsResizable() const override { return resizable_; }

private:
    bool resizable_;
};
