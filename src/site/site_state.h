#pragma once
// What the site dialogs remember between runs (their configuration sections).

#include <QString>
#include <string>

namespace xo {

class TCompressFile;

// "Hierarchie": the site dialog's FTP fields and list choices. The password
// field is written empty: a password read from an older configuration is
// moved into the secret service (or kept for the session where none runs).
struct THierarchieState {
    std::string Server;
    std::string UserName = "anonymous";
    std::string Password = "xo@example.org";
    std::string Port = "21";
    std::string Directory = "/public_html";
    bool HtmlFiles = true;
    bool MultimediaFiles = true;
    bool OnlyToday = false;
    void Load(TCompressFile &f);
    void Save(TCompressFile &f) const;
};

// "ChooseDir": the directory last chosen in the directory dialog.
struct TChooseDirState {
    std::string Directory;
    void Load(TCompressFile &f);
    void Save(TCompressFile &f) const;
};

// "SearchFiles": the search-in-files fields.
struct TSearchFilesState {
    std::string Directory; // the home directory until chosen
    std::string Mask = "*.htm*";
    std::string Text;
    void Load(TCompressFile &f);
    void Save(TCompressFile &f) const;
};

// The password remembered for a server field and user name: by the
// desktop's secret service, or for this session only where none runs.
QString RememberedPassword(const QString &server, const QString &user);
// False when it is kept for this session only.
bool RememberPassword(const QString &server, const QString &user, const QString &password);
void ForgetPassword(const QString &server, const QString &user);

extern THierarchieState HierarchieState;
extern TChooseDirState ChooseDirState;
extern TSearchFilesState SearchFilesState;

} // namespace xo
