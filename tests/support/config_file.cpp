#include "config_file.h"

#include "settings/compress_file.h"

namespace xo::test {

void ConfigFile::Read(TCompressFile &f) {
    signatureOk = f.ReadString() == kConfigSignature;
    if (!signatureOk) return;
    if (ConfigMain m; ReadMainSection(f, m)) main = std::move(m);
    if (FindSection s; s.Read(f)) find = s;
    if (ReplaceSection s; s.Read(f)) replace = s;
    hierarchie.Load(f);
    chooseBrowser.Load(f);
    chooseDir.Load(f);
    tagAHref.Load(f);
    searchFiles.Load(f);
    ConfigDirectories dirs;
    dirs.Read(f);
    predefinedDirs = dirs.predefinedDirs;
    specialOpenSave = dirs.specialOpenSave;
    spelling.Load(f);
    damaged = f.Damaged();
}

void ConfigFile::Write(TCompressFile &f) const {
    f.WriteString(kConfigSignature);
    WriteMainSection(f, main ? *main : ConfigMain{});
    (find ? *find : FindSection{}).Write(f);
    (replace ? *replace : ReplaceSection{}).Write(f);
    hierarchie.Save(f);
    chooseBrowser.Save(f);
    chooseDir.Save(f);
    tagAHref.Save(f);
    searchFiles.Save(f);
    ConfigDirectories{predefinedDirs, specialOpenSave}.Write(f);
    spelling.Save(f);
}

} // namespace xo::test
