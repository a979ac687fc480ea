#include "system_info.h"

#include <QFile>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSysInfo>
#include <QThread>
#include <QVBoxLayout>

namespace xo {

namespace {

// The lines of a "/proc" text as (key, value) with the value trimmed.
template <class F> void eachField(std::string_view text, F f) {
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        std::string_view key = line.substr(0, colon), value = line.substr(colon + 1);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.remove_suffix(1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
        while (!value.empty() && (value.back() == ' ' || value.back() == '\r')) value.remove_suffix(1);
        f(key, value);
    }
}

uint64_t kilobytes(std::string_view v) {
    uint64_t n = 0;
    for (char c : v) {
        if (c < '0' || c > '9') break;
        n = n * 10 + uint64_t(c - '0');
    }
    return n * 1024;
}

QByteArray readProc(const char *name) {
    QFile f(QString::fromLatin1(name));
    // /proc files report no size: read until the end.
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string_view view(const QByteArray &b) { return {b.constData(), size_t(b.size())}; }

} // namespace

MemInfo ParseMemInfo(std::string_view text) {
    MemInfo m;
    eachField(text, [&](std::string_view key, std::string_view value) {
        if (key == "MemTotal") m.total = kilobytes(value);
        if (key == "MemAvailable") m.available = kilobytes(value);
        if (key == "SwapTotal") m.swapTotal = kilobytes(value);
        if (key == "SwapFree") m.swapFree = kilobytes(value);
    });
    return m;
}

QString ProcessorText(std::string_view cpuinfo, std::string_view architecture) {
    if (architecture != "x86_64" && architecture != "i386" && architecture != "x86") return {};
    QString vendor;
    eachField(cpuinfo, [&](std::string_view key, std::string_view value) {
        if (key == "vendor_id" && vendor.isEmpty()) vendor = QString::fromLatin1(value.data(), qsizetype(value.size()));
    });
    return QStringLiteral("586 (") + vendor + u')';
}

int ProcessorCount(std::string_view cpuinfo) {
    int n = 0;
    eachField(cpuinfo, [&](std::string_view key, std::string_view) { n += key == "processor"; });
    return n;
}

QString KernelVersionText(const QString &kernel) {
    QString out;
    int dots = 0;
    for (QChar c : kernel) {
        if (c == u'.' && ++dots == 3) break;
        if (!c.isDigit() && c != u'.') break;
        out += c;
    }
    return out;
}

QString SizeText(uint64_t bytes) {
    if (bytes < 1024) return QString::number(bytes) + QStringLiteral(" B");
    if (bytes < 1024 * 1024) return QString::number(double(bytes) / 1024, 'f', 1) + QStringLiteral(" kB");
    return QString::number(double(bytes) / 1048576, 'f', 1) + QStringLiteral(" MB");
}

QString ScreenText(int width, int height, int depth) {
    const uint64_t colors = depth >= 64 ? 0 : uint64_t(1) << depth;
    return QStringLiteral("%1 x %2 x %3").arg(width).arg(height).arg(colors);
}

TfrmInformace::TfrmInformace(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Informace"));
    auto *form = new QFormLayout;
    auto value = [&](const char *name, const char *caption) {
        auto *l = new QLabel(QStringLiteral("-"));
        l->setObjectName(QString::fromLatin1(name));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(QString::fromUtf8(caption), l);
        return l;
    };
    lbOSVersion = value("lbOSVersion", "Interní číslo verze:");
    lbPlatform = value("lbPlatform", "Platforma:");
    lbSystemDir = value("lbSystemDir", "Systémový adresář:");
    lbMemSize = value("lbMemSize", "Paměť / volná:");
    lbSwap = value("lbSwap", "Odkládací soubor:");
    lbScreen = value("lbScreen", "Obrazovka:");
    lbProcessor = value("lbProcessor", "Typ procesoru:");
    lbProcessorNum = value("lbProcessorNum", "Počet procesorů:");
    auto *box = new QVBoxLayout(this);
    box->addLayout(form);
    auto *row = new QHBoxLayout;
    row->addStretch();
    auto *ok = new QPushButton(QStringLiteral("O&k"));
    ok->setObjectName(QStringLiteral("btOk"));
    ok->setDefault(true);
    row->addWidget(ok);
    box->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    tmrInfo.setInterval(1000);
    connect(&tmrInfo, &QTimer::timeout, this, &TfrmInformace::FormActivate);
}

void TfrmInformace::FormActivate() {
    lbOSVersion->setText(KernelVersionText(QSysInfo::kernelVersion()));
    lbPlatform->setText(QSysInfo::prettyProductName());
    lbSystemDir->setText(QStringLiteral("/usr"));
    const MemInfo m = ParseMemInfo(view(readProc("/proc/meminfo")));
    lbMemSize->setText(SizeText(m.total) + QStringLiteral(" / ") + SizeText(m.available));
    lbSwap->setText(SizeText(m.swapTotal) + QStringLiteral(" / ") + SizeText(m.swapFree));
    if (const QScreen *s = QGuiApplication::primaryScreen())
        lbScreen->setText(ScreenText(s->size().width(), s->size().height(), s->depth()));
    const QByteArray cpu = readProc("/proc/cpuinfo");
    const std::string architecture = QSysInfo::currentCpuArchitecture().toStdString();
    const QString processor = ProcessorText(view(cpu), architecture);
    if (!processor.isEmpty()) lbProcessor->setText(processor);
    const int count = ProcessorCount(view(cpu));
    lbProcessorNum->setText(QString::number(count > 0 ? count : QThread::idealThreadCount()));
}

void TfrmInformace::showEvent(QShowEvent *e) {
    QDialog::showEvent(e);
    FormActivate();
    tmrInfo.start();
}

void TfrmInformace::hideEvent(QHideEvent *e) {
    tmrInfo.stop();
    QDialog::hideEvent(e);
}

} // namespace xo
