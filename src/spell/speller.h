#pragma once
// Spelling through Hunspell: a dictionary per language, loaded on first use
// off the window's thread; the words checked so far remembered, so that a
// repaint never waits for the dictionary; a personal word list (UTF-8, one
// word a line) and the words ignored for the session.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <string>

class Hunspell;

namespace xo::spell {

class TSpeller {
public:
    TSpeller();
    ~TSpeller();

    // Where dictionaries ("cs_CZ.aff" and ".dic") are looked for.
    QStringList DictionaryDirs{QStringLiteral("/usr/share/hunspell"), QStringLiteral("/usr/share/myspell/dicts"),
                               QStringLiteral("/usr/share/myspell")};
    // The personal word list; $XDG_CONFIG_HOME/xo/slovnik.txt unless set.
    QString PersonalFile;
    // Said once per language whose dictionary is not installed.
    std::function<void(const QString &language, const QString &package)> OnMissing;
    // Said when the personal list cannot be read as one.
    std::function<void(const QString &problem)> OnDamagedList;

    enum Result { Correct, Wrong, NotYet, NotChecked };
    // From what is known now; a word not known yet is queued for Work.
    Result Check(const std::string &lang, const QString &word);
    // Checks queued words for about `budgetMs`; true when a result came.
    bool Work(int budgetMs);
    bool Pending() const { return !queue_.empty() || loading(); }
    // At once, loading the dictionary if need be (the context menu, tests).
    Result CheckNow(const std::string &lang, const QString &word);
    // The best first, at most `count`.
    QStringList Suggest(const std::string &lang, const QString &word, int count = 6);
    // False when the list could not be written (the word is accepted for the session all the same).
    bool AddToPersonal(const QString &word);
    void Ignore(const QString &word);

private:
    struct Dictionary {
        std::unique_ptr<Hunspell> hunspell;
        std::future<std::unique_ptr<Hunspell>> loading;
        bool missing = false;
        QHash<QString, bool> known;
    };
    // The dictionary of a language, its loading started; null while it loads or is missing.
    Dictionary &dictionary(const std::string &lang);
    Hunspell *ready(Dictionary &d, bool wait);
    bool loading() const;
    void loadPersonal();
    bool accepted(const QString &word) const { return personal_.contains(word) || ignored_.contains(word); }

    std::map<std::string, Dictionary> dictionaries_;
    std::deque<std::pair<std::string, QString>> queue_;
    QSet<QString> personal_, ignored_;
    bool personalLoaded_ = false;
    bool personalDamaged_ = false; // then never written over
};

} // namespace xo::spell
