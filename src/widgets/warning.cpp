#include "widgets/warning.h"

#include <QCoreApplication>
#include <QDir>
#include <QDialog>
#include <QMessageBox>
#include <algorithm>

QString saveRefusedTitle() { return QCoreApplication::translate("Warning", "設定の保存"); }

QString saveRefusedText(const QString &filePath, const QString &reason)
{
    return QCoreApplication::translate("Warning", "設定をファイルに保存できませんでした。\n\n"
                                                  "保存先: %1\n理由: %2\n\n"
                                                  "変更した設定は、このプログラムを終了するまで有効です。")
        .arg(QDir::toNativeSeparators(filePath), reason);
}

QMessageBox *openWarning(QWidget *window, const QString &title, const QString &text, const char *objectName)
{
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, window);
    box->setObjectName(QLatin1String(objectName));
    box->setAttribute(Qt::WA_DeleteOnClose);
    openBox(box, window);
    return box;
}

void openBox(QDialog *box, QWidget *window)
{
    box->setWindowModality(qobject_cast<QDialog *>(window) ? Qt::WindowModal : Qt::NonModal);
    box->show();
    // Modeless, it would not take the keyboard by itself: Esc and Return must reach it.
    box->raise();
    box->activateWindow();
}

bool hasOpenBox(const QWidget *window)
{
    const QList<QDialog *> boxes = window->findChildren<QDialog *>(Qt::FindDirectChildrenOnly);
    return std::any_of(boxes.begin(), boxes.end(), [](const QDialog *box) { return box->isVisible(); });
}
