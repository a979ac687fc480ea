#include "site_publish.h"

#include "platform/safe_file.h"
#include "platform/services.h"
#include "publish_manifest.h"
#include "site_scan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace xo {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

bool ChangedToday(const QString &fileName) {
    const QDateTime modified = QFileInfo(fileName).lastModified();
    return modified.isValid() && modified.toLocalTime().date() == platform::services().now().date();
}

bool CopySiteFile(const QString &from, const QString &to) {
    if (!platform::IsRegularFile(from)) return false;
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) return false;
    if (!QDir().mkpath(QFileInfo(to).absolutePath())) return false;
    platform::SafeFile out(to);
    if (!out.open()) return false;
    QByteArray block;
    for (;;) {
        block = in.read(1 << 20);
        if (block.isEmpty()) break;
        if (!out.write(block.constData(), size_t(block.size()))) return false;
    }
    return in.error() == QFileDevice::NoError && out.commit();
}

void InstallList(const QStringList &list, bool onlyToday, const QString &mainDirectory,
                 const QString &installDirectory, const std::function<void(const QString &)> &status) {
    platform::services().setWaitCursor(true);
    for (const QString &f : list) {
        const QString rel = SitePath(mainDirectory, f);
        if (rel.isEmpty()) {
            platform::message(QStringLiteral("Xo!"),
                              QStringLiteral("Soubor ") + f +
                                  QStringLiteral(" nelze instalovat, protože není v podadresáři hlavního souboru"),
                              Icon::Exclamation);
            continue;
        }
        if (onlyToday && !ChangedToday(f)) continue;
        if (status) status(QStringLiteral("Instaluji ") + f + QStringLiteral("..."));
        if (!CopySiteFile(f, installDirectory + rel))
            platform::message(QStringLiteral("Xo!"),
                              QStringLiteral("Soubor ") + f + QStringLiteral(" se nepodařilo nainstalovat."),
                              Icon::Error);
    }
    if (status) status(QString());
    platform::services().setWaitCursor(false);
}

void TSiteUpload::Start(const QString &remoteBase, const QStringList &html, const QStringList &multimedia,
                        bool withHtml, bool withMultimedia, bool onlyToday) {
    Queue.clear();
    Skipped = 0;
    TFtpItem base;
    base.RemotePath = remoteBase.endsWith(u'/') ? remoteBase : remoteBase + u'/';
    Queue.push_back(base);
    if (withHtml)
        for (const QString &f : html) AddFtpItem(f, onlyToday);
    if (withMultimedia)
        for (const QString &f : multimedia) AddFtpItem(f, onlyToday);
    if (Manifest)
        trace(QStringLiteral("Nezměněné soubory vynechány: ") + QString::number(Skipped) +
              (Everything ? QStringLiteral(" (zaškrtnuto Vše znovu)") : QString()));
}

void TSiteUpload::AddFtpItem(const QString &fileName, bool onlyToday) {
    if (onlyToday && !ChangedToday(fileName)) return;
    TFtpItem item;
    item.LocalFile = fileName;
    // Relative to the main directory, whichever list the file came from.
    const QString rel = SitePath(MainDirectory, fileName);
    item.RemotePath = rel.isEmpty() ? QFileInfo(fileName).fileName() : rel;
    if (Manifest && !Everything && !rel.isEmpty() && Manifest->Unchanged(item.RemotePath, fileName)) {
        ++Skipped;
        return;
    }
    Queue.push_back(item);
}

bool TSiteUpload::fileStep(TFtpClient &client, TFtpItem &item) {
    QFile file(item.LocalFile);
    const bool qualifies = !SitePath(MainDirectory, item.LocalFile).isEmpty() &&
                           platform::IsRegularFile(item.LocalFile) && file.open(QIODevice::ReadOnly);
    if (!qualifies) {
        trace(QStringLiteral("Soubor ") + item.LocalFile + QStringLiteral(" neinstalován!"));
        status(QString());
        busy(false);
        if (WarnNotInstalled &&
            platform::message(QStringLiteral("Xo!"),
                              QStringLiteral("Soubor ") + item.LocalFile +
                                  QStringLiteral(" nelze instalovat. Možné důvody:\r\n\r\n- soubor není v podadresáři "
                                                 "hlavního souboru\r\n- soubor neexistuje.\r\n\r\nZobrazovat tuto "
                                                 "hlášku i příště?"),
                              Icon::Exclamation, Buttons::YesNo) == Answer::No)
            WarnNotInstalled = false;
        return true;
    }
    trace(QStringLiteral("Odesílám ") + item.LocalFile + QStringLiteral(" -> ") + item.RemotePath +
          QStringLiteral("..."));
    status(QStringLiteral("Odesílání souboru..."));
    try {
        send(client, file, item.RemotePath);
        if (Manifest && !Manifest->Record(item.RemotePath, item.LocalFile))
            trace(QStringLiteral("» Záznam o odeslaných souborech nelze zapsat: ") + Manifest->FileName());
        return true;
    } catch (const ESessionEnded &) {
        throw;
    } catch (const ETcpIpError &) {
    }
    busy(false);
    const qsizetype slash = item.RemotePath.lastIndexOf(u'/');
    if (slash > 0 && !item.Retried &&
        platform::message(QStringLiteral("FTP"),
                          QStringLiteral("Pokusit se vytvořit potřebné adresáře pro vyslání souboru ") +
                              item.RemotePath + u'?',
                          Icon::Question, Buttons::YesNo) == Answer::Yes) {
        item.Retried = true;
        TFtpItem dirs;
        dirs.LocalFile = TFtpItem::kMakeDirs;
        dirs.RemotePath = item.RemotePath.left(slash);
        Queue.push_front(dirs);
        return false;
    }
    trace(QStringLiteral("» Chyba: Přenos souboru se nepodařil!"));
    platform::message(QStringLiteral("Xo!"), QStringLiteral("Chyba při přenosu souboru ") + item.LocalFile,
                      Icon::Error);
    return true;
}

void TSiteUpload::send(TFtpClient &client, QFile &file, const QString &target) {
    if (!Renames) return client.UploadFile(file, target);
    const qsizetype slash = target.lastIndexOf(u'/');
    const QString temp = target.left(slash + 1) + QStringLiteral(".xo-upload-") + target.mid(slash + 1);
    const auto removeTemp = [&] {
        try {
            client.Delete(temp);
        } catch (const ETcpIpError &) {
            // Left behind under its temporary name; the next upload replaces it.
        }
    };
    try {
        client.UploadFile(file, temp);
    } catch (const ETcpIpError &) {
        removeTemp();
        throw;
    }
    try {
        client.Rename(temp, target);
        return;
    } catch (const ESessionEnded &) {
        throw;
    } catch (const ETcpIpError &) {
        removeTemp();
        if (client.ProtocolName() != QLatin1String("FTP")) throw;
    }
    // A plain FTP server that renames nothing gets the files under their own names.
    Renames = false;
    trace(QStringLiteral("Server neumí přejmenovat soubor; soubory se vysílají přímo pod svými jmény."));
    file.seek(0);
    client.UploadFile(file, target);
}

void TSiteUpload::FtpStep(TFtpClient &client) {
    if (Queue.empty()) {
        try {
            client.Logout();
        } catch (const ETcpIpError &) {
        }
        status(QStringLiteral("Odlogováno."));
        trace(QStringLiteral("Odlogováno."));
        busy(false);
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Konec instalace"), Icon::Information);
        return;
    }
    if (client.Busy()) {
        status(QStringLiteral("Čekám..."));
        return;
    }
    try {
        step(client);
    } catch (const ESessionEnded &e) {
        // Nothing more can be sent where it belongs: the rest stays at home.
        Queue.clear();
        busy(false);
        trace(QStringLiteral("» Chyba: ") + e.Message);
        status(QStringLiteral("Chyba"));
        if (!dynamic_cast<const EStopped *>(&e))
            platform::message(QStringLiteral("Xo!"), e.Message + QStringLiteral(" Přenos byl zastaven."), Icon::Error);
    }
}

void TSiteUpload::step(TFtpClient &client) {
    TFtpItem &item = Queue.front();
    bool done = true;
    if (item.LocalFile.isEmpty()) {
        QString path = item.RemotePath;
        if (path.startsWith(u'.')) path.remove(0, 1);
        if (path.endsWith(u'/')) path.chop(1);
        trace(QStringLiteral("Změna adresáře: ") + path + QStringLiteral("..."));
        status(QStringLiteral("Adresář..."));
        // "/" alone is the root; "." alone (or nothing) the directory of the log-in.
        if (path.isEmpty() && item.RemotePath.startsWith(u'/')) path = QStringLiteral("/");
        try {
            if (!path.isEmpty()) client.ChangeDir(path);
        } catch (const ESessionEnded &) {
            throw;
        } catch (const ETcpIpError &) {
            busy(false);
            trace(QStringLiteral("» Chyba: Změna adresáře se nepodařila!"));
            platform::message(QStringLiteral("Xo!"), QStringLiteral("Adresář ") + path + QStringLiteral(" neexistuje."),
                              Icon::Error);
        }
    } else if (item.LocalFile == TFtpItem::kMakeDirs) {
        QStringList prefixes;
        const QString &p = item.RemotePath;
        for (qsizetype i = 1; i < p.size(); ++i)
            if (p[i] == u'/') prefixes << p.left(i);
        if (!p.endsWith(u'/')) prefixes << p;
        for (const QString &prefix : prefixes) {
            trace(QStringLiteral("Vytvářím adresář ") + prefix + QStringLiteral("..."));
            status(QStringLiteral("Vytváření adresáře..."));
            try {
                client.MakeDir(prefix);
            } catch (const ESessionEnded &) {
                throw;
            } catch (const ETcpIpError &) {
                // Usually a directory that exists already: the deeper ones are still needed.
                trace(QStringLiteral("» Chyba: Adresář ") + prefix + QStringLiteral(" se nepodařilo vytvořit..."));
            }
        }
    } else {
        done = fileStep(client, item);
    }
    if (done) Queue.pop_front();
}

} // namespace xo
