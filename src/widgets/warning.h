#pragma once

#include <QString>

class QMessageBox;
class QWidget;

// A warning over `window`: window-modal, so the window behind it goes on (the clock keeps
// ticking), and gone once closed. Tests find it by `objectName`.
// What both windows say when a save is refused.
extern const QString kSaveRefusedTitle;
QString saveRefusedText(const QString &filePath, const QString &reason);

QMessageBox *openWarning(QWidget *window, const QString &title, const QString &text, const char *objectName);
