#include "site_state.h"

#include "platform/cp1250.h"
#include "platform/secrets.h"
#include "settings/compress_file.h"

#include <QDir>

namespace xo {

THierarchieState HierarchieState;
TChooseDirState ChooseDirState;
TSearchFilesState SearchFilesState{cp1250::encode(QDir::homePath() + u'/'), "*.htm*", ""};

namespace {

const std::string kNoPassword;

QString passwordKey(const QString &server, const QString &user) {
    return QStringLiteral("site ") + server.trimmed() + u' ' + user;
}

platform::SecretStore &passwordStore() {
    static platform::SessionSecrets session;
    platform::SecretStore &desktop = platform::secrets();
    return desktop.available() ? desktop : session;
}

} // namespace

QString RememberedPassword(const QString &server, const QString &user) {
    return passwordStore().read(passwordKey(server, user)).value_or(QString());
}

bool RememberPassword(const QString &server, const QString &user, const QString &password) {
    platform::SecretStore &store = passwordStore();
    if (store.read(passwordKey(server, user)) != password) store.write(passwordKey(server, user), password);
    return &store == &platform::secrets();
}

void ForgetPassword(const QString &server, const QString &user) { passwordStore().remove(passwordKey(server, user)); }

void THierarchieState::Load(TCompressFile &f) {
    if (!ReadSectionTag(f, "Hierarchie")) return;
    Server = f.ReadString();
    UserName = f.ReadString();
    Password = f.ReadString();
    Port = f.ReadString();
    Directory = f.ReadString();
    if (!Password.empty() &&
        RememberPassword(cp1250::decode(Server), cp1250::decode(UserName), cp1250::decode(Password)))
        Password.clear();
    HtmlFiles = f.ReadBoolean();
    MultimediaFiles = f.ReadBoolean();
    OnlyToday = f.ReadBoolean();
}

void THierarchieState::Save(TCompressFile &f) const {
    f.WriteString("Hierarchie");
    for (const std::string *s : {&Server, &UserName, &kNoPassword, &Port, &Directory}) f.WriteString(*s);
    f.WriteBoolean(HtmlFiles);
    f.WriteBoolean(MultimediaFiles);
    f.WriteBoolean(OnlyToday);
}

void TChooseDirState::Load(TCompressFile &f) {
    if (ReadSectionTag(f, "ChooseDir")) Directory = f.ReadString();
}

void TChooseDirState::Save(TCompressFile &f) const {
    f.WriteString("ChooseDir");
    f.WriteString(Directory);
}

void TSearchFilesState::Load(TCompressFile &f) {
    if (!ReadSectionTag(f, "SearchFiles")) return;
    Directory = f.ReadString();
    Mask = f.ReadString();
    Text = f.ReadString();
}

void TSearchFilesState::Save(TCompressFile &f) const {
    f.WriteString("SearchFiles");
    f.WriteString(Directory);
    f.WriteString(Mask);
    f.WriteString(Text);
}

} // namespace xo
