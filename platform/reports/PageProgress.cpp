#include "PageProgress_p.h"

#include <QApplication>
#include <QProgressDialog>

namespace reports {

PageProgress::PageProgress(QString label, int total, bool modal)
    : m_label(std::move(label)), m_total(total), m_modal(modal) {}

PageProgress::~PageProgress() = default;

void PageProgress::pageDone(int done) {
    if (!m_dialog) {
        if (std::max(done, m_total) < LongReport ||
            !qobject_cast<QApplication*>(QCoreApplication::instance()))
            return;
        m_dialog = std::make_unique<QProgressDialog>();
        m_dialog->setWindowTitle(QCoreApplication::applicationName());
        m_dialog->setCancelButton(nullptr);
        m_dialog->setWindowModality(m_modal ? Qt::ApplicationModal : Qt::NonModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setRange(0, m_total);
        m_dialog->show();
    } else if (done % 25 != 0 && done != m_total) {
        return;
    }
    m_dialog->setLabelText(m_total > 0 ? m_label.arg(done).arg(m_total) : m_label.arg(done));
    if (m_total > 0) m_dialog->setValue(std::min(done, m_total));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace reports
