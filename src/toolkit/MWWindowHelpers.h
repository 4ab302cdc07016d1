#pragma once

#include <QFont>
#include <QSize>
#include <QString>

class QWidget;

// Window and string helpers used across the program's windows.

// The width `text` takes laid out in `font` without any limit (the widest line).
double mw_stringWidthWithFont(const QString& text, const QFont& font);

// Gives the window's content the size `size`, keeping its top edge and its
// horizontal centre; `customBorderThickness` is a part of the content height
// that does not count. Animated over 0.1 s when asked.
void mw_setContentSize(QWidget* window, QSize size, bool animated, double customBorderThickness);
void mw_setContentSize(QWidget* window, QSize size, bool animated);
void mw_originalSetContentSize(QWidget* window, QSize size, bool animated);

bool mw_isFullScreen(const QWidget* window);
void mw_setResizable(QWidget* window, bool resizable);

// Whether the window may be made full screen (its maximise control included);
// disabling it also brings a full-screen window back to normal.
void mw_enableFullScreen(QWidget* window);
void mw_disableFullScreen(QWidget* window);
bool mw_fullScreenEnabled(const QWidget* window);
