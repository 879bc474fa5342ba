#include "HelpPage.h"

#include "AppIdentity.h"
#include "VelmLocale.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QUrl>

namespace {

const QLatin1String kBuiltIn(":/help/index.html");

class HelpClick : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(pEvent)->button() == Qt::LeftButton) {
            HelpPage::open();
            return true;
        }
        return QObject::eventFilter(pWatched, pEvent);
    }
};

// The data folder's copy, written anew when the built-in page differs from it.
QString builtInCopy()
{
    QFile source(kBuiltIn);
    if (!source.open(QIODevice::ReadOnly) || !AppIdentity::ensureDataFolder())
        return QString();
    const QByteArray baPage = source.readAll();
    const QString strCopy = QDir::cleanPath(AppIdentity::dataFilePath(QStringLiteral("help.html")));
    QFile copy(strCopy);
    if (copy.open(QIODevice::ReadOnly) && copy.readAll() == baPage)
        return strCopy;
    copy.close();
    if (!copy.open(QIODevice::WriteOnly | QIODevice::Truncate) || copy.write(baPage) != baPage.size())
        return QString();
    return strCopy;
}

} // namespace

namespace HelpPage {

QString filePath()
{
#ifdef PICTARIUM_DATA_FROM_BIN
    const QString strInstalled = QCoreApplication::applicationDirPath() +
                                 QLatin1String("/" PICTARIUM_DATA_FROM_BIN "/help/index.html");
    if (QFileInfo::exists(strInstalled))
        return QFileInfo(strInstalled).canonicalFilePath();
#endif
    return builtInCopy();
}

bool open()
{
    const QString strPath = filePath();
    if (!strPath.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(strPath)))
        return true;
    QMessageBox::warning(nullptr, VelmLocale::message("err_warning"),
                         VelmLocale::message("err_help_open")
                             .arg(strPath.isEmpty() ? QStringLiteral("index.html") : strPath));
    return false;
}

void attach(QLabel* plbIcon)
{
    plbIcon->setCursor(Qt::PointingHandCursor);
    plbIcon->installEventFilter(new HelpClick(plbIcon));
}

} // namespace HelpPage
