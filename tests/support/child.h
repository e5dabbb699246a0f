#pragma once

#include <QObject>
#include <QtGlobal>

// A window's control, found by its object name; the test binary stops, naming it, when
// there is none.
template <typename T>
T *child(const QObject *root, const char *name)
{
    auto *found = root->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}
