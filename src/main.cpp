#include "AppIdentity.h"
#include "StartUp.h"
#include "StopSignals.h"
#include "WidgetFlows.h"
#include "WidgetPrompt.h"

#include <QApplication>
#include <QDialog>

#include <cstdlib>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QLatin1String(AppIdentity::VendorName));
    QCoreApplication::setApplicationName(QLatin1String(AppIdentity::ProductName));

    // SIGINT, SIGTERM and SIGHUP act as Cancel on every open window, so that an upload stops
    // the way the button stops it; with no window open the program ends at once.
    QObject::connect(StopSignals::install(), &StopSignals::signalStop, &app, []() {
        bool blClosed = false;
        for (QWidget* pWindow : QApplication::topLevelWidgets()) {
            auto* pDialog = qobject_cast<QDialog*>(pWindow);
            if (pDialog && pDialog->isVisible()) {
                pDialog->reject();
                blClosed = true;
            }
        }
        if (!blClosed)
            std::_Exit(1);
    });

    std::unique_ptr<UserPrompt> pPrompt;
    if (UnattendedPrompt::requested())
        pPrompt = std::make_unique<UnattendedPrompt>();
    else
        pPrompt = std::make_unique<WidgetPrompt>();

    WidgetFlows flows(pPrompt.get());
    StartUp startUp(pPrompt.get(), &flows);
    return startUp.run(QCoreApplication::arguments());
}
