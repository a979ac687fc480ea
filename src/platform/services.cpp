#include "services.h"
#include "qt_services.h"

namespace xo::platform {
namespace {
Services *current = nullptr;
}

Services &services() {
    if (current) return *current;
    static QtServices real;
    return real;
}

Services *setServices(Services *s) {
    Services *old = current;
    current = s;
    return old;
}

Answer message(const QString &caption, const QString &text, Icon icon, Buttons buttons) {
    return services().message({caption, text, icon, buttons});
}

} // namespace xo::platform
