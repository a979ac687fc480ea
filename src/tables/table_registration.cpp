#include "table_registration.h"

#include "documents/main_window.h"
#include "table_dialogs.h"

namespace xo {

Subsystem TablesSubsystem() {
    Subsystem s;
    s.name = QStringLiteral("tables");
    s.dialogs = {DialogOf<TfrmTable>("TfrmTable"), DialogOf<TfrmTableInteractive>("TfrmTableInteractive"),
                 DialogOf<TfrmCellOptions>("TfrmCellOptions"), DialogOf<TfrmRowOptions>("TfrmRowOptions")};
    return s;
}

} // namespace xo
