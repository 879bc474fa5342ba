// pictarium-send: what a file manager's menu runs. It writes the selected items into the
// hand-over file list ("FileList") and starts the program beside it.
//   pictarium-send 1 PATH...        create a profile, then upload the items with it
//   pictarium-send 2 INDEX PATH...  upload the items with the profile at INDEX of the shortcut list
//   pictarium-send 4 FOLDER         upload everything below FOLDER with the first profile
//   pictarium-send MODE [INDEX]     any other run mode, the list left as it is
// A PATH may be absolute, relative to the working folder, or a file:// URL without a host or with localhost.
// Exit status: 0 started, 1 nothing to upload or the program did not start, 2 bad arguments.

#include "AppIdentity.h"
#include "HandOverFile.h"
#include "VelmLocale.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTranslator>
#include <QUrl>

#include <cstdio>
#include <memory>

namespace {

const char* const s_pszUsage = "Usage: pictarium-send MODE [INDEX] [PATH...]\n"
                               "  1 PATH...        create a profile, then upload PATHs with it\n"
                               "  2 INDEX PATH...  upload PATHs with the profile at INDEX of the shortcut list\n"
                               "  4 FOLDER         upload everything below FOLDER with the first profile\n"
                               "  0, 3, 5, 6, 7    start that run mode; 8 INDEX likewise\n";

int usage(const char* pszProblem)
{
    std::fprintf(stderr, "pictarium-send: %s\n%s", pszProblem, s_pszUsage);
    return 2;
}

// A whole decimal number, nothing else.
bool parseNumber(const QString& strText, int* piValue)
{
    bool blOk = false;
    *piValue = strText.toInt(&blOk);
    return blOk && !strText.isEmpty() && strText.at(0).isDigit();
}

// The absolute path of an argument; empty when its name cannot go into the list: a line break
// would split it, and bytes that are not text would name another file once read back. A URL is
// listed only when it is a file on this computer: no host, or "localhost" (compared as text only).
QString listedPath(const char* pszArgument)
{
    const QByteArray baRaw(pszArgument);
    QString strPath = QFile::decodeName(baRaw);
    if (QFile::encodeName(strPath) != baRaw)
        return QString();
    static const QRegularExpression s_url(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    if (s_url.match(strPath).hasMatch()) {
        const QUrl url(strPath);
        const QString strHost = url.host();
        if (!url.isValid() || url.scheme() != QLatin1String("file") || !url.userInfo().isEmpty() || url.port() != -1 ||
            (!strHost.isEmpty() && strHost.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0))
            return QString();
        // The percent-encoded bytes are the name's bytes, so they must be text as well.
        const QByteArray baPath = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        strPath = QFile::decodeName(baPath);
        if (QFile::encodeName(strPath) != baPath)
            return QString();
    }
    if (strPath.isEmpty() || strPath.contains(QLatin1Char('\n')) || strPath.contains(QLatin1Char('\r')) ||
        strPath.contains(QChar(0)))
        return QString();
    return QDir::cleanPath(QDir::current().absoluteFilePath(strPath));
}

// A refused name on one line of the message: line breaks shown as a return sign.
QString shownName(const char* pszArgument)
{
    QString strName = QString::fromUtf8(pszArgument);
    strName.replace(QLatin1String("\r\n"), QString(QChar(0x21b5)));
    strName.replace(QLatin1Char('\n'), QChar(0x21b5)).replace(QLatin1Char('\r'), QChar(0x21b5));
    return strName;
}

// The program beside this one, else the one on PATH.
QString programPath()
{
    const QString strBeside = QCoreApplication::applicationDirPath() + QLatin1String("/pictarium-uploader");
    if (QFileInfo(strBeside).isExecutable())
        return strBeside;
    return QStandardPaths::findExecutable(QStringLiteral("pictarium-uploader"));
}

void tell(bool blWindow, const QString& strText)
{
    std::fprintf(stderr, "pictarium-send: %s\n", strText.toLocal8Bit().constData());
    if (blWindow)
        QMessageBox::warning(nullptr, AppIdentity::applicationTitle(), strText);
}

} // namespace

int main(int argc, char* argv[])
{
    // Diagnostics only with PICTARIUM_DEBUG=1: standard error is for the messages below.
    if (qEnvironmentVariable("PICTARIUM_DEBUG") != QLatin1String("1"))
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    // A window for messages only where there is a display: menus run it from the desktop.
    const bool blWindow = qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    std::unique_ptr<QCoreApplication> pApp;
    if (blWindow)
        pApp = std::make_unique<QApplication>(argc, argv);
    else
        pApp = std::make_unique<QCoreApplication>(argc, argv);
    VelmSettings settings;
    QTranslator translator;
    if (translator.load(VelmLocale::translationCatalog(settings)) && !translator.isEmpty())
        QCoreApplication::installTranslator(&translator);
    VelmLocale::fillMessageTable();

    int iMode = 0;
    if (argc < 2 || !parseNumber(QString::fromLocal8Bit(argv[1]), &iMode))
        return usage("the first argument is the run mode, a number");
    int iFirstPath = 2;
    QStringList lstProgramArgs{QString::number(iMode)};
    if (iMode == 2 || iMode == 8) {
        int iIndex = 0;
        if (argc < 3 || !parseNumber(QString::fromLocal8Bit(argv[2]), &iIndex))
            return usage("modes 2 and 8 take the profile's index next");
        lstProgramArgs << QString::number(iIndex);
        iFirstPath = 3;
    }
    const bool blList = iMode == 1 || iMode == 2;
    if (iMode == 4 && argc != 3)
        return usage("mode 4 takes one folder");
    if (!blList && iMode != 4 && argc > iFirstPath)
        return usage("this mode takes no paths");

    QStringList lstPaths;
    QStringList lstRefused;
    for (int i = iFirstPath; i < argc; ++i) {
        const QString strPath = listedPath(argv[i]);
        if (strPath.isEmpty())
            lstRefused << shownName(argv[i]);
        else
            lstPaths << strPath;
    }
    if (!lstRefused.isEmpty())
        tell(blWindow, VelmLocale::message("err_path_unlistable").arg(lstRefused.join(QLatin1Char('\n'))));
    if ((blList || iMode == 4) && lstPaths.isEmpty())
        return 1;

    if (iMode == 4) {
        lstProgramArgs << lstPaths.constFirst();
    } else if (blList) {
        const QString strList = AppIdentity::dataFilePath(QStringLiteral("FileList"));
        if (!AppIdentity::ensureDataFolder() || !HandOverFile::writeCountedList(strList, lstPaths)) {
            tell(blWindow, VelmLocale::message("err_database").arg(strList));
            return 1;
        }
    }
    const QString strProgram = programPath();
    if (strProgram.isEmpty() || !QProcess::startDetached(strProgram, lstProgramArgs)) {
        tell(blWindow, VelmLocale::message("err_start_program")
                           .arg(strProgram.isEmpty() ? QStringLiteral("pictarium-uploader") : strProgram));
        return 1;
    }
    return 0;
}
