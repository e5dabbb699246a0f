#pragma once

#include <QString>

class QDialog;
class QMessageBox;
class QWidget;

// What both windows say when a save is refused.
QString saveRefusedTitle();
QString saveRefusedText(const QString &filePath, const QString &reason);

// A warning over `window`, gone once closed; the window behind it goes on (the clock keeps
// ticking). Tests find it by `objectName`.
QMessageBox *openWarning(QWidget *window, const QString &title, const QString &text, const char *objectName);

// Shows a box over `window`. Over a dialog it is window-modal. Over the clock it is
// modeless: the window manager cannot close a window that a modal box blocks. The clock
// ignores its own gestures while a box is open instead.
void openBox(QDialog *box, QWidget *window);
bool hasOpenBox(const QWidget *window);
