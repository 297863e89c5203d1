#include "platform/qt_startup.h"

#include <QByteArray>
#include <QtGlobal>

namespace lumaro::platform {

void chooseQtPlatform(bool unattended) {
    if (unattended && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
}

}  // namespace lumaro::platform
