#include "startup.h"

#include <QApplication>
#include <QStyle>
#include <QTranslator>
#include <QWidget>

namespace Startup {

void installQtTranslation(QCoreApplication &application)
{
    auto *translator = new QTranslator(&application);
    // Uncompressed in the resources, so read where it lies.
    if (translator->load(QStringLiteral(":/i18n/qtbase_es.qm")))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void setStyleAndShow(QWidget &window)
{
    const QString fusion = QStringLiteral("fusion");
    // The style factory names a style by its key in lower case.
    if (QApplication::style()->name() != fusion)
        QApplication::setStyle(fusion);
    window.show();
}

} // namespace Startup
