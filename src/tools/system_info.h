#pragma once
// Facts about the machine for the information window, read from the
// kernel's texts by plain functions (tested on fixture texts).

#include <QDialog>
#include <QTimer>
#include <cstdint>
#include <string_view>

class QLabel;

namespace xo {

struct MemInfo {
    uint64_t total = 0, available = 0, swapTotal = 0, swapFree = 0; // bytes
};
// /proc/meminfo: its kB figures in bytes.
MemInfo ParseMemInfo(std::string_view text);
// "586 (GenuineIntel)" on x86 and x86-64 from /proc/cpuinfo's vendor_id;
// empty elsewhere (the label keeps its text).
QString ProcessorText(std::string_view cpuinfo, std::string_view architecture);
// The logical processors /proc/cpuinfo lists; 0 when it lists none.
int ProcessorCount(std::string_view cpuinfo);
// "6.1.0-18-amd64" → "6.1.0".
QString KernelVersionText(const QString &kernel);
// "512 B", "1.5 kB", "15.6 MB".
QString SizeText(uint64_t bytes);
// "1920 x 1080 x 16777216"; 64-bit, so 32 bits per pixel give 4294967296.
QString ScreenText(int width, int height, int depth);

class TfrmInformace : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInformace(QWidget *parent = nullptr);
    QLabel *lbOSVersion, *lbPlatform, *lbSystemDir, *lbMemSize, *lbSwap, *lbScreen, *lbProcessor, *lbProcessorNum;
    QTimer tmrInfo;
    // Fills every label from the machine as it is now.
    void FormActivate();

protected:
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;
};

} // namespace xo
