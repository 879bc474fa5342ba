#pragma once

#include "RefServerProcess.h"
#include "TestEnvironment.h"

#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// C0 controls but the line break, DEL and C1 controls: none may reach the terminal.
inline const QRegularExpression s_rawControl(QStringLiteral("[\\x{0}-\\x{9}\\x{b}-\\x{1f}\\x{7f}-\\x{9f}]"));

// The terminal front end, run as a program with a private data folder against the reference server:
// the base of the test classes, one per area.
class CliTestBase : public QObject
{
    Q_OBJECT

protected:
    // From initTestCase(): the program is built, the media folder is there and, with blVideo, the clip in it.
    void initCase(bool blVideo);
    // From cleanup(): the test's server stopped, its folder removed.
    void cleanupServer();
    // A fresh reference server with ann/pw (album "secret" forbidden) and the given albums.
    bool startServer(const QStringList& lstAlbums = {}, const QStringList& lstArgs = {});
    // add-profile NAME for the running server, password remembered; true on exit 0.
    bool addProfile(const TestEnvironment& env, const QString& strName, bool blRemember = true);

    std::unique_ptr<QTemporaryDir> m_pServerDir;
    std::unique_ptr<RefServerProcess> m_pServer;
    QString m_strVideo; // made once, copied where needed
    QTemporaryDir m_mediaDir;
};
