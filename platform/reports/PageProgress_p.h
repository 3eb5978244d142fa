#pragma once

#include <QString>

#include <memory>

class QProgressDialog;

namespace reports {

// The pages a long task has done, shown in a progress dialog once the task reaches
// LongReport pages (or is known to); shorter tasks show nothing. A modal dialog blocks the
// program's other windows; one that is not leaves them to the task's own pump.
class PageProgress {
public:
    static constexpr int LongReport = 1000;

    // A label with "%1" for the pages done and "%2" for the total; a total of 0 is unknown.
    PageProgress(QString label, int total = 0, bool modal = true);
    ~PageProgress();
    PageProgress(const PageProgress&) = delete;
    PageProgress& operator=(const PageProgress&) = delete;

    void pageDone(int done);

private:
    QString m_label;
    int m_total;
    bool m_modal;
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace reports
