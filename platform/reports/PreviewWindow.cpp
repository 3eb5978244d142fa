#include "PreviewWindow.h"

#include "PagePainter.h"
#include "Printing.h"
#include "Report.h"
#include "runtime/Program.h"

#include <QAction>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace reports {

namespace {
constexpr double TwipsPerPixel = 15.0; // at 96 dpi and 100%
constexpr int Gap = 16;                // grey border around the page, pixels
} // namespace

// Paints the current page on a grey ground at the window's zoom.
class PageView : public QWidget {
public:
    explicit PageView(PreviewWindow& window, Report& report) : m_window(window), m_report(report) {}

    QSize pageSizeInPixels() const {
        const Pages& pages = m_report.pages();
        if (pages.isEmpty()) return {};
        const QSize twips = pages[std::min<qsizetype>(m_window.currentPage(), pages.size() - 1)].size;
        const double factor = m_window.zoom() / TwipsPerPixel;
        return QSize(int(twips.width() * factor), int(twips.height() * factor));
    }
    void updateSize() { resize(pageSizeInPixels() + QSize(2 * Gap, 2 * Gap)); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        const Pages& pages = m_report.pages();
        if (pages.isEmpty()) return;
        const QSize size = pageSizeInPixels();
        const QRect paper(Gap, Gap, size.width(), size.height());
        painter.fillRect(paper.translated(4, 4), QColor(64, 64, 64));
        painter.fillRect(paper, Qt::white);
        painter.setClipRect(paper);
        painter.translate(paper.topLeft());
        const double scale = m_window.zoom() / TwipsPerPixel;
        painter.scale(scale, scale);
        paintPage(painter, pages[std::min<qsizetype>(m_window.currentPage(), pages.size() - 1)]);
    }

private:
    PreviewWindow& m_window;
    Report& m_report;
};

PreviewWindow::PreviewWindow(Report& report) : m_report(report) {
    m_toolBar = addToolBar(QStringLiteral("Toolbar"));
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_scroll = new QScrollArea(this);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_view = new PageView(*this, report);
    m_view->setBackgroundRole(QPalette::Dark);
    m_scroll->setWidget(m_view);
    setCentralWidget(m_scroll);
    // Wide enough for the engine's tools and those a layout adds, within the screen.
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1400, 1000);
    resize(std::min(1400, screen.width()), std::min(1000, screen.height()));
    m_report.onRunFinished([this] { refresh(); });
}

PreviewWindow::~PreviewWindow() {
    m_report.onRunFinished({});
}

int PreviewWindow::pageCount() const {
    return int(m_report.pages().size());
}

QAction* PreviewWindow::action(int position) const {
    return position >= 0 && position < m_actions.size() ? m_actions[position] : nullptr;
}

void PreviewWindow::refresh() {
    setWindowTitle(m_report.caption());
    m_page = std::clamp(m_page, 0, std::max(0, pageCount() - 1));
    // The toolbar may change under a click on one of its own tools: rebuild afterwards.
    if (m_clicking)
        QTimer::singleShot(0, this, [this] { rebuildToolbar(); });
    else
        rebuildToolbar();
    updatePage();
}

void PreviewWindow::rebuildToolbar() {
    m_toolBar->clear();
    qDeleteAll(m_actions);
    m_actions.clear();
    const QVector<Tool>& tools = m_report.toolbar().all();
    for (int position = 0; position < tools.size(); ++position) {
        const Tool& tool = tools[position];
        auto* action = new QAction(this);
        if (tool.action == Tool::Action::Separator) {
            action->setSeparator(true);
        } else {
            action->setText(
                tool.action == Tool::Action::PageIndicator
                    ? QStringLiteral("Page %1 of %2").arg(pageCount() ? m_page + 1 : 0).arg(pageCount())
                    : tool.caption);
            action->setToolTip(tool.toolTip.isEmpty() ? tool.caption.trimmed() : tool.toolTip);
            if (!tool.picture.isNull()) action->setIcon(QIcon(QPixmap::fromImage(tool.picture)));
            action->setEnabled(tool.enabled);
            connect(action, &QAction::triggered, this, [this, position] {
                m_clicking = true;
                runtime::runEvent([this, position] { m_report.clickTool(position); });
                m_clicking = false;
            });
        }
        action->setVisible(tool.visible);
        m_toolBar->addAction(action);
        m_actions.append(action);
    }
}

void PreviewWindow::updatePage() {
    m_view->updateSize();
    m_view->update();
    const QVector<Tool>& tools = m_report.toolbar().all();
    for (int position = 0; position < tools.size() && position < m_actions.size(); ++position)
        if (tools[position].action == Tool::Action::PageIndicator)
            m_actions[position]->setText(
                QStringLiteral("Page %1 of %2").arg(pageCount() ? m_page + 1 : 0).arg(pageCount()));
}

void PreviewWindow::setCurrentPage(int index) {
    m_page = std::clamp(index, 0, std::max(0, pageCount() - 1));
    updatePage();
    m_scroll->verticalScrollBar()->setValue(0);
}

void PreviewWindow::setZoom(double zoom) {
    m_zoom = std::clamp(zoom, 0.1, 8.0);
    updatePage();
}

void PreviewWindow::fitWidth() {
    if (pageCount() == 0) return;
    const int available = m_scroll->viewport()->width() - 2 * Gap;
    setZoom(available * TwipsPerPixel / m_report.pages()[m_page].size.width());
}

void PreviewWindow::fitPage() {
    if (pageCount() == 0) return;
    const QSize twips = m_report.pages()[m_page].size;
    const QSize available = m_scroll->viewport()->size() - QSize(2 * Gap, 2 * Gap);
    setZoom(std::min(available.width() * TwipsPerPixel / twips.width(),
                     available.height() * TwipsPerPixel / twips.height()));
}

void PreviewWindow::perform(const Tool& tool) {
    using A = Tool::Action;
    switch (tool.action) {
    case A::Print:
        printWithDialog(m_report.pages(), this);
        break;
    case A::FirstPage:
        setCurrentPage(0);
        break;
    case A::PreviousPage:
        setCurrentPage(m_page - 1);
        break;
    case A::NextPage:
        setCurrentPage(m_page + 1);
        break;
    case A::LastPage:
        setCurrentPage(pageCount() - 1);
        break;
    case A::ZoomOut:
        setZoom(m_zoom / 1.25);
        break;
    case A::ZoomIn:
        setZoom(m_zoom * 1.25);
        break;
    case A::Zoom:
        setZoom(tool.zoom);
        break;
    case A::PageWidth:
        fitWidth();
        break;
    case A::WholePage:
        fitPage();
        break;
    case A::Close:
        close();
        break;
    case A::None:
    case A::Separator:
    case A::PageIndicator:
        break;
    }
}

} // namespace reports
