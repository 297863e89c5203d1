// What has to happen before the QApplication exists.
#pragma once

namespace lumaro::platform {

// An unattended run needs no display: unless the caller's environment chose a
// Qt platform itself (QT_QPA_PLATFORM), it runs on Qt's offscreen platform.
// Call before constructing the QApplication.
void chooseQtPlatform(bool unattended);

}  // namespace lumaro::platform
