#include "AppIdentity.h"
#include "StartUp.h"
#include "WidgetFlows.h"
#include "WidgetPrompt.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QLatin1String(AppIdentity::VendorName));
    QCoreApplication::setApplicationName(QLatin1String(AppIdentity::ProductName));

    std::unique_ptr<UserPrompt> pPrompt;
    if (UnattendedPrompt::requested())
        pPrompt = std::make_unique<UnattendedPrompt>();
    else
        pPrompt = std::make_unique<WidgetPrompt>();

    WidgetFlows flows(pPrompt.get());
    StartUp startUp(pPrompt.get(), &flows);
    return startUp.run(QCoreApplication::arguments());
}
