#pragma once
// Where the configuration file lies.

#include <QString>

namespace xo {

// For program file B: "<exe dir>/B." when that directory holds B.net or
// B.config (portable use), else "$XDG_CONFIG_HOME/B/B." (~/.config/B/B.).
QString ConfigStem(const QString &programFile);

// The redirection file stem + "net" names the configuration file on its
// first line (up to the first character of code 13 or less); else
// stem + "config". A relative name counts from the redirection file.
QString ConfigPathFor(const QString &stem);

} // namespace xo
