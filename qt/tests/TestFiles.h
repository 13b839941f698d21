#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

namespace twinfold::test
{

// Writes a file of a test's temporary tree, failing the test when it cannot.
inline void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace twinfold::test
