#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// The control of a panel by its object name; a missing one ends the test
// run at once, naming it, rather than crashing somewhere later.
template<typename T>
T *findControl(const QObject *root, const QString &name)
{
    T *c = root->findChild<T *>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}
