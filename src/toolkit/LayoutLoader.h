#pragma once

#include <QString>

class QWidget;

// Window and view layouts: Qt Designer files named after their controller class,
// in the resources under ":/layouts/".
namespace LayoutLoader {
QString resourcePath(const QString& layoutName);
bool exists(const QString& layoutName);
// The layout's widget tree, with the toolkit's own views made as themselves; null
// when there is no such layout or it does not load.
QWidget* load(const QString& layoutName, QWidget* parent = nullptr);
} // namespace LayoutLoader
