#pragma once
// What the site dialogs remember between runs (their configuration sections).

#include <string>

namespace xo {

class TCompressFile;

// "Hierarchie": the site dialog's FTP fields and list choices.
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

extern THierarchieState HierarchieState;
extern TChooseDirState ChooseDirState;
extern TSearchFilesState SearchFilesState;

} // namespace xo
