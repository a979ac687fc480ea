#include "about_dialogs.h"

#include "platform/services.h"
#include "shared_commands.h"
#include "settings/settings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace xo {

const char *const kVersionText = "Xo! verze 1.0";

namespace {

const char *const kTips[TfrmTips::kTipCount] = {
    "Označte slovo a stiskněte Ctrl+B: slovo se uzavře do značek <B> a </B>.",
    "Dvojklik na jméno značky označí celou značku i s lomenými závorkami.",
    "Trojklik označí celý řádek bez jeho konce.",
    "Alt+Backspace vrátí poslední změnu; souvislé psaní se vrací najednou.",
    "Ctrl+Y smaže celý řádek, na kterém stojí kurzor.",
    "Ctrl+T smaže text od kurzoru po začátek dalšího slova.",
    "Ctrl+Enter vloží značku <BR> bez zalomení řádku.",
    "Ctrl+mezerník vloží nezlomitelnou mezeru &nbsp;.",
    "Klávesa Insert přepíná mezi vkládáním a přepisováním.",
    "F6 a Shift+F6 přepínají mezi otevřenými dokumenty.",
    "F7 přepne dokument mezi editorem a náhledem v prohlížeči.",
    "Lišta dole ukazuje všechny otevřené dokumenty; kliknutím na tlačítko dokument vyvoláte.",
    "Červená značka u dokumentu znamená neuložené změny, zelená uložený stav.",
    "Záložka Informace ukazuje velikost souboru, velikost v paměti a datum poslední změny.",
    "Při ukládání může Xo! ponechat předchozí verzi souboru s příponou .bak.",
    "Soubory s konci řádek z Unixu se uloží opět s unixovými konci řádek.",
    "Uložit jako Unix uloží dokument s konci řádek LF, Uložit jako Dos/Windows s CR LF.",
    "Značky <!--*DefDat*--> a <!--*DefCas*--> dostanou při každém uložení aktuální datum a čas.",
    "Nabídka Soubor pamatuje devět naposledy zavřených souborů; otevřete je klávesami 1 až 9.",
    "Uložit vše uloží všechny dokumenty a na jména nepojmenovaných se zeptá.",
    "Při psaní dlouhých řádků Xo! sám zalamuje text podle šířky okna, pokud to v nastavení povolíte.",
    "Barvy zvýraznění značek, řetězců, čísel a komentářů si nastavíte v možnostech programu.",
    "V dialozích pro otevření a uložení se ve stavovém řádku ukazuje titulek vybraného souboru.",
    "Nápovědu k programu otevřete kdykoli klávesou F1.",
};

QPushButton *button(const QString &caption, const char *name) {
    auto *b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("O programu"));
    auto *box = new QVBoxLayout(this);
    // The program's icon above its name.
    if (const QIcon icon = QApplication::windowIcon(); !icon.isNull()) {
        auto *image = new QLabel;
        image->setPixmap(icon.pixmap(64, 64));
        image->setAlignment(Qt::AlignCenter);
        box->addWidget(image);
    }
    auto *text = new QLabel(QStringLiteral("<h2>Xo!</h2><p>%1</p><p>Editor zdrojového textu stránek HTML.</p>")
                                .arg(QString::fromUtf8(kVersionText)));
    text->setAlignment(Qt::AlignCenter);
    box->addWidget(text);
    auto *ok = button(QStringLiteral("O&k"), "btOk");
    box->addWidget(ok, 0, Qt::AlignCenter);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString TfrmTips::TipText(int number) {
    if (number < 1 || number > kTipCount) number = 1;
    return QString::fromUtf8(kTips[number - 1]);
}

TfrmTips::TfrmTips(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmTips"));
    setWindowTitle(QStringLiteral("Tip dne"));
    auto *box = new QVBoxLayout(this);
    lbTip = new QLabel;
    lbTip->setObjectName(QStringLiteral("lbTip"));
    lbTip->setWordWrap(true);
    lbTip->setTextFormat(Qt::PlainText);
    lbTip->setMinimumSize(360, 80);
    box->addWidget(lbTip);
    chkShowAtStart = new QCheckBox(QStringLiteral("Zobrazovat tipy po &spuštění"));
    chkShowAtStart->setObjectName(QStringLiteral("chkShowAtStart"));
    box->addWidget(chkShowAtStart);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *next = button(QStringLiteral("&Další tip"), "btNext");
    auto *close = button(QStringLiteral("&Zavřít"), "btClose");
    buttons->addWidget(next);
    buttons->addWidget(close);
    box->addLayout(buttons);
    connect(next, &QPushButton::clicked, this, &TfrmTips::NextTip);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmTips::NextTip() {
    const int last = Settings.TipNumber;
    Settings.TipNumber = last >= 1 && last < kTipCount ? last + 1 : 1;
    lbTip->setText(TipText(Settings.TipNumber));
    chkShowAtStart->setChecked(Settings.RunTip);
}

void TfrmTips::done(int r) {
    Settings.RunTip = chkShowAtStart->isChecked();
    QDialog::done(r);
}

TdlgZefo::TdlgZefo(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgZefo"));
    setWindowTitle(QStringLiteral("Zefo"));
    auto *box = new QVBoxLayout(this);
    auto *text = new QLabel(QStringLiteral(
        "<h3>Zefo</h3><p>Od autorů Xo! také Zefo: přehledná správa vašich stránek a obrázků.</p>"
        "<p>Více se dozvíte na stránkách programu.</p>"));
    text->setWordWrap(true);
    box->addWidget(text);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *web = button(QStringLiteral("&Stránky programu"), "btWeb");
    auto *ok = button(QStringLiteral("O&k"), "btOk");
    buttons->addWidget(web);
    buttons->addWidget(ok);
    box->addLayout(buttons);
    connect(web, &QPushButton::clicked, this,
            [] {
                const QString address = QStringLiteral("http://zefo.example.org/");
                if (ShowAddressInBrowser)
                    ShowAddressInBrowser(address);
                else
                    platform::services().openUrl(address);
            });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace xo
