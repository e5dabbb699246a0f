#pragma once

#include <QString>

class QMessageBox;
class QWidget;

// A warning over `window`: window-modal, so the window behind it goes on (the clock keeps
// ticking), and gone once closed. Tests find it by `objectName`.
QMessageBox *openWarning(QWidget *window, const QString &title, const QString &text, const char *objectName);
