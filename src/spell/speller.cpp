#include "speller.h"

#include "platform/safe_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <hunspell/hunspell.hxx>

namespace xo::spell {

TSpeller::TSpeller() : PersonalFile(platform::UserConfigHome() + QStringLiteral("/xo/slovnik.txt")) {}

TSpeller::~TSpeller() {
    for (auto &[lang, d] : dictionaries_)
        if (d.loading.valid()) d.loading.wait();
}

TSpeller::Dictionary &TSpeller::dictionary(const std::string &lang) {
    auto [it, fresh] = dictionaries_.try_emplace(lang);
    Dictionary &d = it->second;
    if (!fresh) return d;
    // "cs" is cs_CZ (or any cs_*); "en-GB" prefers en_GB.
    QString found;
    const QString want = QString::fromStdString(lang);
    for (const QString &dir : DictionaryDirs) {
        const QStringList files = QDir(dir).entryList({want + QStringLiteral("_*.dic"), want + QStringLiteral(".dic")},
                                                      QDir::Files, QDir::Name);
        for (const QString &f : files) {
            const QString stem = dir + u'/' + f.chopped(4);
            if (!QFile::exists(stem + QStringLiteral(".aff"))) continue;
            // The country of the language itself first: cs_CZ, de_DE.
            if (found.isEmpty() || f.startsWith(want + u'_' + want.toUpper())) found = stem;
        }
        if (!found.isEmpty()) break;
    }
    if (found.isEmpty()) {
        d.missing = true;
        if (OnMissing) OnMissing(want, QStringLiteral("hunspell-") + want);
        return d;
    }
    const QByteArray aff = QFile::encodeName(found + QStringLiteral(".aff"));
    const QByteArray dic = QFile::encodeName(found + QStringLiteral(".dic"));
    d.loading = std::async(std::launch::async, [aff, dic] {
        return std::make_unique<Hunspell>(aff.constData(), dic.constData());
    });
    return d;
}

Hunspell *TSpeller::ready(Dictionary &d, bool wait) {
    if (d.hunspell) return d.hunspell.get();
    if (!d.loading.valid()) return nullptr;
    if (!wait && d.loading.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return nullptr;
    d.hunspell = d.loading.get();
    return d.hunspell.get();
}

bool TSpeller::loading() const {
    for (const auto &[lang, d] : dictionaries_)
        if (d.loading.valid()) return true;
    return false;
}

namespace {

// Words go to Hunspell in the dictionary's own encoding.
std::string encoded(Hunspell &h, const QString &word) {
    const std::string &enc = h.get_dict_encoding();
    if (enc == "UTF-8" || enc == "utf-8") return word.toStdString();
    QStringEncoder e(enc.c_str());
    return e.isValid() ? QByteArray(e.encode(word)).toStdString() : word.toStdString();
}

QString decoded(Hunspell &h, const std::string &s) {
    const std::string &enc = h.get_dict_encoding();
    if (enc == "UTF-8" || enc == "utf-8") return QString::fromStdString(s);
    QStringDecoder d(enc.c_str());
    return d.isValid() ? QString(d.decode(QByteArray::fromStdString(s))) : QString::fromStdString(s);
}

} // namespace

TSpeller::Result TSpeller::Check(const std::string &lang, const QString &word) {
    if (!personalLoaded_) loadPersonal();
    if (accepted(word)) return Correct;
    Dictionary &d = dictionary(lang);
    if (d.missing) return NotChecked;
    const auto it = d.known.constFind(word);
    if (it != d.known.cend()) return *it ? Correct : Wrong;
    queue_.emplace_back(lang, word);
    return NotYet;
}

bool TSpeller::Work(int budgetMs) {
    QElapsedTimer clock;
    clock.start();
    bool any = false;
    std::deque<std::pair<std::string, QString>> later;
    while (!queue_.empty() && clock.elapsed() < budgetMs) {
        auto [lang, word] = std::move(queue_.front());
        queue_.pop_front();
        Dictionary &d = dictionary(lang);
        Hunspell *h = ready(d, false);
        if (!h) {
            if (!d.missing) later.emplace_back(std::move(lang), std::move(word)); // still loading
            continue;
        }
        if (d.known.contains(word)) continue;
        d.known.insert(word, h->spell(encoded(*h, word)));
        any = true;
    }
    for (auto &w : later) queue_.push_back(std::move(w));
    return any;
}

TSpeller::Result TSpeller::CheckNow(const std::string &lang, const QString &word) {
    if (!personalLoaded_) loadPersonal();
    if (accepted(word)) return Correct;
    Dictionary &d = dictionary(lang);
    Hunspell *h = ready(d, true);
    if (!h) return NotChecked;
    const auto it = d.known.constFind(word);
    const bool ok = it != d.known.cend() ? *it : h->spell(encoded(*h, word));
    d.known.insert(word, ok);
    return ok ? Correct : Wrong;
}

QStringList TSpeller::Suggest(const std::string &lang, const QString &word, int count) {
    Hunspell *h = ready(dictionary(lang), true);
    QStringList out;
    if (!h) return out;
    for (const std::string &s : h->suggest(encoded(*h, word))) {
        if (out.size() >= count) break;
        const QString w = decoded(*h, s);
        if (!out.contains(w)) out << w;
    }
    return out;
}

void TSpeller::loadPersonal() {
    personalLoaded_ = true;
    QFile f(PersonalFile);
    if (!f.exists()) return;
    if (!platform::IsRegularFile(PersonalFile) || !f.open(QIODevice::ReadOnly)) {
        personalDamaged_ = true;
        if (OnDamagedList) OnDamagedList(QStringLiteral("Osobní slovník ") + PersonalFile + QStringLiteral(" nelze přečíst."));
        return;
    }
    const QByteArray bytes = f.read(16 << 20);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError() || bytes.contains('\0') || !f.atEnd()) {
        personalDamaged_ = true;
        if (OnDamagedList)
            OnDamagedList(QStringLiteral("Osobní slovník ") + PersonalFile +
                          QStringLiteral(" je poškozený (není to text v UTF-8); nepoužívá se."));
        return;
    }
    for (const QString &line : text.split(u'\n')) {
        const QString w = line.trimmed();
        if (!w.isEmpty()) personal_.insert(w);
    }
}

bool TSpeller::AddToPersonal(const QString &word) {
    if (!personalLoaded_) loadPersonal();
    personal_.insert(word);
    return !personalDamaged_ && platform::AppendLine(PersonalFile, word.toUtf8());
}

void TSpeller::Ignore(const QString &word) { ignored_.insert(word); }

} // namespace xo::spell
