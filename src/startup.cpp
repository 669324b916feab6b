#include "startup.h"

#include <QApplication>
#include <QStyle>
#include <QWidget>

namespace Startup {

void setStyleAndShow(QWidget &window)
{
    const QString fusion = QStringLiteral("fusion");
    // The style factory names a style by its key in lower case.
    if (QApplication::style()->name() != fusion)
        QApplication::setStyle(fusion);
    window.show();
}

} // namespace Startup
