#include "site_state.h"

#include "platform/cp1250.h"
#include "settings/compress_file.h"

#include <QDir>

namespace xo {

THierarchieState HierarchieState;
TChooseDirState ChooseDirState;
TSearchFilesState SearchFilesState{cp1250::encode(QDir::homePath() + u'/'), "*.htm*", ""};

void THierarchieState::Load(TCompressFile &f) {
    if (!ReadSectionTag(f, "Hierarchie")) return;
    Server = f.ReadString();
    UserName = f.ReadString();
    Password = f.ReadString();
    Port = f.ReadString();
    Directory = f.ReadString();
    HtmlFiles = f.ReadBoolean();
    MultimediaFiles = f.ReadBoolean();
    OnlyToday = f.ReadBoolean();
}

void THierarchieState::Save(TCompressFile &f) const {
    f.WriteString("Hierarchie");
    for (const std::string *s : {&Server, &UserName, &Password, &Port, &Directory}) f.WriteString(*s);
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
