#include "widgets/warning.h"

#include <QMessageBox>

QMessageBox *openWarning(QWidget *window, const QString &title, const QString &text, const char *objectName)
{
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, window);
    box->setObjectName(QLatin1String(objectName));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}
