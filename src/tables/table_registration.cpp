#include "table_registration.h"

#include "documents/main_window.h"
#include "table_dialogs.h"

namespace xo {

namespace {
template <class T> DialogSpec spec(const char *name) {
    return {QString::fromLatin1(name), [](TfrmMain &m) -> QDialog * { return new T(&m); }};
}
} // namespace

Subsystem TablesSubsystem() {
    Subsystem s;
    s.name = QStringLiteral("tables");
    s.dialogs = {spec<TfrmTable>("TfrmTable"), spec<TfrmTableInteractive>("TfrmTableInteractive"),
                 spec<TfrmCellOptions>("TfrmCellOptions"), spec<TfrmRowOptions>("TfrmRowOptions")};
    return s;
}

} // namespace xo
