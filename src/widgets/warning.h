#pragma once

#include <QString>

class QMessageBox;
class QWidget;

// What both windows say when a save is refused.
QString saveRefusedTitle();
QString saveRefusedText(const QString &filePath, const QString &reason);

// A warning over `window`: window-modal, so the window behind it goes on (the clock keeps
// ticking), and gone once closed. Tests find it by `objectName`.
QMessageBox *openWarning(QWidget *window, const QString &title, const QString &text, const char *objectName);
