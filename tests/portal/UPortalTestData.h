#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// The bytes of a fixture under tests/data/portal/.
inline QByteArray PortalFixture(const QString& name) {
    QFile file(QStringLiteral(ORV_TEST_DATA_DIR "/portal/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("missing fixture %s", qPrintable(name));
    }
    return file.readAll();
}
