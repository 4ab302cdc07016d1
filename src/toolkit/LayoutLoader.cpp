#include "toolkit/LayoutLoader.h"

#include "platform/SystemLog.h"
#include "toolkit/MWNoScrollView.h"
#include "toolkit/MWView.h"

#include <QFile>
#include <QUiLoader>

namespace {
class ToolkitUiLoader : public QUiLoader {
public:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override {
        QWidget* widget = nullptr;
        if (className == u"MWView") {
            auto* view = new MWView(parent);
            view->awakeFromNib();
            widget = view;
        } else if (className == u"MWNoScrollView") {
            widget = new MWNoScrollView(parent);
        }
        if (!widget)
            return QUiLoader::createWidget(className, parent, name);
        widget->setObjectName(name);
        return widget;
    }
};
} // namespace

namespace LayoutLoader {

QString resourcePath(const QString& layoutName) {
    return QStringLiteral(":/layouts/") + layoutName + QStringLiteral(".ui");
}

bool exists(const QString& layoutName) {
    return QFile::exists(resourcePath(layoutName));
}

QWidget* load(const QString& layoutName, QWidget* parent) {
    QFile file(resourcePath(layoutName));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    ToolkitUiLoader loader;
    QWidget* widget = loader.load(&file, parent);
    if (!widget)
        SystemLog::write(QStringLiteral("Could not load the layout %@: %@"),
                         {layoutName, loader.errorString()});
    return widget;
}

} // namespace LayoutLoader
