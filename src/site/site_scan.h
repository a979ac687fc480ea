#pragma once
// The site a page reaches: a fast byte scanner of its own (not the tag
// parser of the editor) follows links in HTML files breadth first and
// lists the pages and the multimedia files they name.

#include <QString>
#include <QStringList>

namespace xo {

// Each list stops growing here; what is dropped counts as an error.
constexpr int kMaxSiteList = 10000;
// A page larger than this is listed but not read for links (one error, and a note).
constexpr qint64 kMaxScannedPage = 32ll << 20;

struct TSiteScan {
    QString MainFile;
    QString MainDirectory; // ends with "/"
    QStringList HtmlFiles; // [0] the main file; also the scan's work queue
    QStringList Multimedia;
    int Errors = 0;
    int Tags = 0;
    QStringList Notes; // lines for the site dialog's log
    // "12+30": the HTML and the multimedia count.
    QString Counts() const;
};

TSiteScan ScanHierarchy(const QString &mainFile);

// `file` relative to `directory` (which ends with "/") when it lies below
// it, compared by whole names and letter case, and where it really is with
// symbolic links resolved; empty otherwise, and for any path that still
// holds "." or ".." names.
QString SitePath(const QString &directory, const QString &file);

} // namespace xo
