#include "config_content.h"

#include "platform/cp1250.h"
#include "settings/compress_file.h"

#include <QDir>
#include <algorithm>

namespace xo {

QRect BoundedRect(int left, int top, int width, int height) {
    return QRect(std::clamp(left, -kMaxBound, kMaxBound), std::clamp(top, -kMaxBound, kMaxBound),
                 std::clamp(width, 0, kMaxBound), std::clamp(height, 0, kMaxBound));
}

const char *const kConfigSignature = "Con 8.1.0.02";

namespace {

// Paths are kept in code page 1250; one that would not come back the same
// is left out rather than stored wrongly.
bool storable(const QString &text) { return cp1250::decode(cp1250::encode(text)) == text; }

QString pathFrom(const std::string &stored) {
    const QString p = cp1250::decode(stored);
    return p.isEmpty() ? p : QDir::cleanPath(p);
}

std::string pathTo(const QString &path) { return storable(path) ? cp1250::encode(path) : std::string(); }

enum class ListKind { Texts, Files, Directories };

QStringList readList(TCompressFile &f, ListKind kind) {
    QStringList out;
    for (const std::string &s : f.ReadStrings()) {
        if (kind == ListKind::Texts) {
            out << cp1250::decode(s);
            continue;
        }
        QString p = pathFrom(s);
        // A directory is kept as the user gave it, with or without its final "/":
        // it is written back the same. Prefix matches add the "/" themselves.
        if (kind == ListKind::Directories && p.size() > 1 && cp1250::decode(s).endsWith(u'/')) p += u'/';
        if (!p.isEmpty()) out << p;
    }
    return out;
}

void writeList(TCompressFile &f, const QStringList &list) {
    std::vector<std::string> out;
    for (const QString &s : list)
        if (storable(s)) out.push_back(cp1250::encode(s));
    f.WriteStrings(out);
}

template <class Record, int N>
void readTable(TCompressFile &f, OneBased<Record, N> &table, Record (*fromBytes)(const uint8_t *, size_t)) {
    std::vector<uint8_t> block(Record::kSize * N, 0);
    f.ReadBuffer(block.data(), block.size());
    for (int i = 1; i <= N; ++i) table[i] = fromBytes(block.data() + Record::kSize * size_t(i - 1), Record::kSize);
}

template <class Record, int N>
void writeTable(TCompressFile &f, const OneBased<Record, N> &table, std::vector<uint8_t> (*toBytes)(const Record &)) {
    for (int i = 1; i <= N; ++i) {
        const auto b = toBytes(table[i]);
        f.WriteBuffer(b.data(), b.size());
    }
}

} // namespace

bool ReadMainSection(TCompressFile &f, ConfigMain &m) {
    if (!ReadSectionTag(f, "Main")) return false;
    const int left = f.ReadInteger(), top = f.ReadInteger(), width = f.ReadInteger(), height = f.ReadInteger();
    m.bounds = BoundedRect(left, top, width, height);
    m.state = f.ReadByte();
    std::vector<uint8_t> block(TSettings::kSize, 0);
    f.ReadBuffer(block.data(), block.size());
    m.settings = SettingsFromBytes(block.data(), block.size());
    block.assign(64, 0);
    f.ReadBuffer(block.data(), block.size());
    m.colors = EditorColorsFromBytes(block.data(), block.size());
    readTable(f, m.styles, TextStyleFromBytes);
    readTable(f, m.tags, UserTagFromBytes);
    // Records the content does not cover would read as zeros (black on
    // black, no user tags) and be written back so: the file is damaged.
    if (f.PastEnd()) {
        f.MarkDamaged();
        return true;
    }
    m.customColors = readList(f, ListKind::Texts);
    f.ReadInteger(); // two reserved integers
    f.ReadInteger();
    m.recentFiles = readList(f, ListKind::Files);
    const int32_t windows = f.ReadCount(1);
    for (int32_t i = 0; i < windows && !f.Damaged(); ++i) {
        if (!f.ReadBoolean()) {
            m.windows.emplace_back();
            continue;
        }
        if (f.ReadString() != "ChildWin") {
            f.MarkDamaged(); // not a window record: what follows cannot be trusted
            break;
        }
        ConfigWindow w;
        w.fileName = pathFrom(f.ReadString());
        if (!w.fileName.isEmpty()) {
            w.left = f.ReadInteger();
            w.top = f.ReadInteger();
            w.width = f.ReadInteger();
            w.height = f.ReadInteger();
            w.selStart = f.ReadInteger();
            w.selEnd = f.ReadInteger();
        }
        m.windows.push_back(w);
    }
    m.openDirectory = pathFrom(f.ReadString());
    m.openFilterIndex = f.ReadInteger();
    m.saveDirectory = pathFrom(f.ReadString());
    return true;
}

void WriteMainSection(TCompressFile &f, const ConfigMain &m) {
    f.WriteString("Main");
    for (int v : {m.bounds.left(), m.bounds.top(), m.bounds.width(), m.bounds.height()}) f.WriteInteger(v);
    f.WriteByte(m.state);
    const auto settings = SettingsToBytes(m.settings);
    f.WriteBuffer(settings.data(), settings.size());
    const auto colors = EditorColorsToBytes(m.colors);
    f.WriteBuffer(colors.data(), colors.size());
    writeTable(f, m.styles, TextStyleToBytes);
    writeTable(f, m.tags, UserTagToBytes);
    writeList(f, m.customColors);
    f.WriteInteger(0);
    f.WriteInteger(0);
    writeList(f, m.recentFiles);
    if (!m.readWins) {
        f.WriteInteger(0);
    } else {
        f.WriteInteger(int32_t(m.windows.size()));
        for (const auto &w : m.windows) {
            if (!w || w->fileName.isEmpty() || !storable(w->fileName)) {
                f.WriteBoolean(false);
                continue;
            }
            f.WriteBoolean(true);
            f.WriteString("ChildWin");
            f.WriteString(cp1250::encode(w->fileName));
            for (int v : {w->left, w->top, w->width, w->height, w->selStart, w->selEnd}) f.WriteInteger(v);
        }
    }
    f.WriteString(pathTo(m.openDirectory));
    f.WriteInteger(m.openFilterIndex);
    f.WriteString(pathTo(m.saveDirectory));
}

void ConfigDirectories::Read(TCompressFile &f) {
    predefinedDirs = readList(f, ListKind::Directories);
    specialOpenSave = f.ReadBoolean();
}

void ConfigDirectories::Write(TCompressFile &f) const {
    writeList(f, predefinedDirs);
    f.WriteBoolean(specialOpenSave);
}

} // namespace xo
