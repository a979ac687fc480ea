#include "shared_commands.h"

namespace xo {

std::function<bool(int page)> OpenOptionsDialog = [](int) { return false; };
std::function<void(const QString &address)> ShowAddressInBrowser;

} // namespace xo
