#pragma once
class QApplication;

namespace xo {

// Program-wide set-up of the application object: its title and Qt's Czech
// texts for the standard buttons.
void SetUpApplication(QApplication &app);

} // namespace xo
