#include "command_line.h"

#include <QCommandLineParser>

namespace xo {

namespace {

struct Options {
    QCommandLineOption check{QStringLiteral("check"),
                             QStringLiteral("Zkontroluje soubory bez okna a vypíše první chybu každého.")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Vypíše tuto nápovědu.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Vypíše verzi programu.")};
    QCommandLineOption newInstance{QStringLiteral("new-instance"),
                                   QStringLiteral("Spustí samostatný program, i když už jeden běží.")};
};

void describe(QCommandLineParser &p, const Options &o) {
    p.setApplicationDescription(QStringLiteral("Xo! – editor zdrojového textu HTML"));
    p.addOption(o.check);
    p.addOption(o.help);
    p.addOption(o.version);
    p.addOption(o.newInstance);
    p.addPositionalArgument(QStringLiteral("soubory"), QStringLiteral("Soubory k otevření (nebo ke kontrole)."),
                            QStringLiteral("[/own] [SOUBOR...]"));
}

} // namespace

CommandLine ParseCommandLine(const QStringList &arguments) {
    QCommandLineParser p;
    Options o;
    describe(p, o);
    CommandLine c;
    if (!p.parse(QStringList{QStringLiteral("xo")} + arguments)) {
        c.action = CommandLine::Error;
        c.error = p.errorText();
        return c;
    }
    for (const QString &a : p.positionalArguments()) {
        if (a == QLatin1String("/own"))
            c.own = true;
        else
            c.files << a;
    }
    c.newInstance = p.isSet(o.newInstance);
    if (p.isSet(o.help))
        c.action = CommandLine::Help;
    else if (p.isSet(o.version))
        c.action = CommandLine::Version;
    else if (p.isSet(o.check))
        c.action = CommandLine::Check;
    if (c.action == CommandLine::Check && c.files.isEmpty()) {
        c.action = CommandLine::Error;
        c.error = QStringLiteral("--check potřebuje alespoň jeden soubor.");
    }
    return c;
}

QString UsageText() {
    QCommandLineParser p;
    Options o;
    describe(p, o);
    // helpText names the program from the application; here it is always xo.
    QString text = p.helpText();
    const qsizetype colon = text.indexOf(u':');
    const qsizetype space = text.indexOf(u' ', colon + 2);
    if (colon >= 0 && space > colon) text.replace(colon + 2, space - colon - 2, QStringLiteral("xo"));
    text.replace(QStringLiteral("Usage:"), QStringLiteral("Použití:"));
    text.replace(QStringLiteral("[options]"), QStringLiteral("[volby]"));
    text.replace(QStringLiteral("Options:"), QStringLiteral("Volby:"));
    text.replace(QStringLiteral("Arguments:"), QStringLiteral("Argumenty:"));
    return text;
}

bool WantsNoWindow(const QStringList &arguments) {
    // Qt's own options are Qt's to take, in the window's application.
    static const QStringList qtOptions = {
        QStringLiteral("-platform"), QStringLiteral("-platformpluginpath"), QStringLiteral("-platformtheme"),
        QStringLiteral("-plugin"),   QStringLiteral("-qwindowgeometry"),    QStringLiteral("-qwindowtitle"),
        QStringLiteral("-qwindowicon"), QStringLiteral("-reverse"),         QStringLiteral("-session"),
        QStringLiteral("-style"),    QStringLiteral("-stylesheet"),         QStringLiteral("-display"),
        QStringLiteral("-geometry"), QStringLiteral("-name"),               QStringLiteral("-title"),
        QStringLiteral("-visual"),   QStringLiteral("-widgetcount"),        QStringLiteral("-nograb"),
        QStringLiteral("-dograb"),   QStringLiteral("-sync")};
    bool qt = false;
    for (const QString &a : arguments) qt = qt || qtOptions.contains(a.section(u'=', 0, 0));
    // A mistake is said without a window too (unless Qt may own the option).
    if (!qt && ParseCommandLine(arguments).action == CommandLine::Error) return true;
    for (const QString &a : arguments) {
        if (a == QLatin1String("--")) return false;
        if (a == QLatin1String("--check") || a == QLatin1String("--help") || a == QLatin1String("-h") ||
            a == QLatin1String("--version") || a == QLatin1String("-v"))
            return true;
    }
    return false;
}

} // namespace xo
