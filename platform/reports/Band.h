#pragma once

#include "PageModel.h"

#include <QVector>

namespace reports {

// A formatted section occurrence: its height and drawing operations relative to its
// top-left corner.
struct Band {
    int height = 0;
    QVector<PageItem> items;
};

// Where a run's bands go: the pages of a report, or the section of a parent report.
class BandSink {
public:
    virtual ~BandSink() = default;
    // The run starts, before the report header.
    virtual void begin() {}
    // The report header is placed: the first page header follows it.
    virtual void reportHeaderPlaced() {}
    // A band of that height is about to be placed (the pager starts a new page when it
    // would not fit).
    virtual void reserve(int height) = 0;
    virtual void place(const Band& band) = 0;
};

// What a sub-report control runs each time its section is formatted: a report that gives the
// bands of its sections, stacked, at a width.
class SubReportSource {
public:
    virtual QVector<Band> runAsSubReport(int width) = 0;

protected:
    ~SubReportSource() = default;
};

} // namespace reports
