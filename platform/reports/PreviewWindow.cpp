#include "PreviewWindow.h"

#include "PagePainter.h"
#include "Printing.h"
#include "Translations_p.h"
#include "runtime/Program.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>
#include <QWidgetAction>

#include <algorithm>

namespace reports {

namespace {
constexpr double TwipsPerPixel = 15.0; // at 96 dpi and 100%
constexpr int Gap = 16;                // grey border around the page, pixels
} // namespace

// Paints the current page on a grey ground at the window's zoom.
class PageView : public QWidget {
public:
    PageView(PreviewWindow& window, const Pages& pages) : m_window(window), m_pages(&pages) {}
    void setPages(const Pages& pages) { m_pages = &pages; }

    QSize pageSizeInPixels() const {
        const Pages& pages = *m_pages;
        if (pages.isEmpty()) return {};
        const QSize twips = pages.pageSize(std::min<qsizetype>(m_window.currentPage(), pages.size() - 1));
        const double factor = m_window.zoom() / TwipsPerPixel;
        return QSize(int(twips.width() * factor), int(twips.height() * factor));
    }
    void updateSize() { resize(pageSizeInPixels() + QSize(2 * Gap, 2 * Gap)); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        const Pages& pages = *m_pages;
        if (pages.isEmpty()) return;
        const QSize size = pageSizeInPixels();
        const QRect paper(Gap, Gap, size.width(), size.height());
        painter.fillRect(paper.translated(4, 4), QColor(64, 64, 64));
        painter.fillRect(paper, Qt::white);
        painter.setClipRect(paper);
        painter.translate(paper.topLeft());
        const double scale = m_window.zoom() / TwipsPerPixel;
        painter.scale(scale, scale);
        paintPage(painter, pages.unpack(std::min<qsizetype>(m_window.currentPage(), pages.size() - 1)));
    }

private:
    PreviewWindow& m_window;
    const Pages* m_pages;
};

namespace {
const Pages& noPages() {
    static const Pages none;
    return none;
}
} // namespace

PreviewWindow::PreviewWindow() {
    useTranslations();
    m_toolBar = addToolBar(tr("Toolbar"));
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_scroll = new QScrollArea(this);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_view = new PageView(*this, noPages());
    m_view->setBackgroundRole(QPalette::Dark);
    m_scroll->setWidget(m_view);
    setCentralWidget(m_scroll);
    // Wide enough for the engine's tools and those a layout adds, within the screen.
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1400, 1000);
    resize(std::min(1400, screen.width()), std::min(1000, screen.height()));
    m_scroll->installEventFilter(this);
    m_scroll->viewport()->installEventFilter(this);
    m_scroll->setFocus();
}

PreviewWindow::~PreviewWindow() = default;

const Pages& PreviewWindow::pages() const {
    return m_pages ? *m_pages : noPages();
}

int PreviewWindow::pageCount() const {
    return int(pages().size());
}

QAction* PreviewWindow::action(int position) const {
    return position >= 0 && position < m_actions.size() ? m_actions[position] : nullptr;
}

void PreviewWindow::setPages(std::shared_ptr<const Pages> pages) {
    m_pages = std::move(pages);
    m_view->setPages(this->pages());
    m_page = std::clamp(m_page, 0, std::max(0, pageCount() - 1));
    updatePage();
}

void PreviewWindow::setTools(const QVector<Tool>& tools) {
    m_tools = tools;
    // The toolbar may change under a click on one of its own tools: rebuild afterwards.
    if (m_clicking)
        QTimer::singleShot(0, this, [this] { rebuildToolbar(); });
    else
        rebuildToolbar();
}

QString PreviewWindow::pageIndicator() const {
    return tr("Page %1 of %2").arg(pageCount() ? m_page + 1 : 0).arg(pageCount());
}

void PreviewWindow::rebuildToolbar() {
    m_toolBar->clear();
    qDeleteAll(m_actions);
    m_actions.clear();
    m_pageBox = nullptr;
    m_pageValidator = nullptr;
    m_pageCountLabel = nullptr;
    const QVector<Tool> tools = m_tools;
    for (int position = 0; position < tools.size(); ++position) {
        const Tool& tool = tools[position];
        QAction* action = nullptr;
        if (tool.action == Tool::Action::PageIndicator) {
            // "Page [n] of m": the box takes a page number and goes there on Enter.
            auto* box = new QWidget;
            auto* layout = new QHBoxLayout(box);
            layout->setContentsMargins(4, 0, 4, 0);
            layout->addWidget(new QLabel(tr("Page")));
            m_pageBox = new QLineEdit;
            m_pageValidator = new QIntValidator(1, std::max(1, pageCount()), m_pageBox);
            m_pageBox->setValidator(m_pageValidator);
            m_pageBox->setFixedWidth(m_pageBox->fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                                     10);
            m_pageBox->setAlignment(Qt::AlignRight);
            connect(m_pageBox, &QLineEdit::returnPressed, this, [this] {
                setCurrentPage(m_pageBox->text().toInt() - 1);
                m_scroll->setFocus();
            });
            layout->addWidget(m_pageBox);
            m_pageCountLabel = new QLabel;
            layout->addWidget(m_pageCountLabel);
            auto* widgetAction = new QWidgetAction(this);
            widgetAction->setDefaultWidget(box);
            action = widgetAction;
        } else {
            action = new QAction(this);
        }
        if (tool.action == Tool::Action::Separator) {
            action->setSeparator(true);
        } else {
            action->setText(tool.action == Tool::Action::PageIndicator ? pageIndicator() : tool.caption);
            action->setToolTip(tool.toolTip.isEmpty() ? tool.caption.trimmed() : tool.toolTip);
            if (!tool.picture.isNull()) action->setIcon(QIcon(QPixmap::fromImage(tool.picture)));
            // The page box takes typed numbers whatever the tool says.
            action->setEnabled(tool.enabled || tool.action == Tool::Action::PageIndicator);
            connect(action, &QAction::triggered, this, [this, position, tool] {
                m_clicking = true;
                bool performed = false;
                runtime::runEvent([this, &tool, &performed] {
                    if (tool.action != Tool::Action::None) perform(tool);
                    performed = true;
                });
                if (performed) emit toolClicked(position);
                m_clicking = false;
            });
        }
        action->setVisible(tool.visible);
        m_toolBar->addAction(action);
        m_actions.append(action);
    }
    updatePage();
}

void PreviewWindow::updatePage() {
    m_view->updateSize();
    m_view->update();
    for (int position = 0; position < m_tools.size() && position < m_actions.size(); ++position)
        if (m_tools[position].action == Tool::Action::PageIndicator)
            m_actions[position]->setText(pageIndicator());
    if (m_pageBox) {
        m_pageValidator->setTop(std::max(1, pageCount()));
        m_pageBox->setText(QString::number(pageCount() ? m_page + 1 : 0));
        m_pageCountLabel->setText(tr("of %1").arg(pageCount()));
    }
}

void PreviewWindow::setCurrentPage(int index) {
    m_page = std::clamp(index, 0, std::max(0, pageCount() - 1));
    updatePage();
    m_scroll->verticalScrollBar()->setValue(0);
}

void PreviewWindow::setZoom(double zoom) {
    // The point of the page at the middle of the view stays there.
    QScrollBar* bars[] = {m_scroll->horizontalScrollBar(), m_scroll->verticalScrollBar()};
    const QSize viewport = m_scroll->viewport()->size();
    const int halves[] = {viewport.width() / 2, viewport.height() / 2};
    const QSize before = m_view->size();
    double centre[2];
    for (int i = 0; i < 2; ++i)
        centre[i] = double(bars[i]->value() + halves[i]) / std::max(1, i ? before.height() : before.width());
    m_zoom = std::clamp(zoom, 0.1, 8.0);
    updatePage();
    const QSize after = m_view->size();
    for (int i = 0; i < 2; ++i) {
        bars[i]->setRange(
            0, std::max(0, (i ? after.height() - viewport.height() : after.width() - viewport.width())));
        bars[i]->setValue(int(centre[i] * (i ? after.height() : after.width())) - halves[i]);
    }
}

void PreviewWindow::step(int pages) {
    const int target = std::clamp(m_page + pages, 0, std::max(0, pageCount() - 1));
    if (target == m_page) return;
    setCurrentPage(target);
    QScrollBar* bar = m_scroll->verticalScrollBar();
    bar->setRange(0, std::max(0, m_view->height() - m_scroll->viewport()->height()));
    bar->setValue(pages < 0 ? bar->maximum() : 0);
}

void PreviewWindow::scrollOrTurn(int pixels) {
    QScrollBar* bar = m_scroll->verticalScrollBar();
    if (pixels > 0 && bar->value() >= bar->maximum())
        step(1);
    else if (pixels < 0 && bar->value() <= bar->minimum())
        step(-1);
    else
        bar->setValue(bar->value() + pixels);
}

bool PreviewWindow::handleKey(const QKeyEvent& key) {
    if (key.matches(QKeySequence::Print)) {
        printWithDialog(pages(), this);
        return true;
    }
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const int line = m_scroll->verticalScrollBar()->singleStep() * 3;
    switch (key.key()) {
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_PageDown:
    case Qt::Key_Right:
        step(1);
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_Left:
        step(-1);
        return true;
    case Qt::Key_Home:
        setCurrentPage(0);
        return true;
    case Qt::Key_End:
        setCurrentPage(pageCount() - 1);
        return true;
    case Qt::Key_Down:
        scrollOrTurn(line);
        return true;
    case Qt::Key_Up:
        scrollOrTurn(-line);
        return true;
    default:
        return false;
    }
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(*event)) QMainWindow::keyPressEvent(event);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == m_scroll) {
        if (handleKey(*static_cast<QKeyEvent*>(event))) return true;
    } else if (event->type() == QEvent::Wheel && watched == m_scroll->viewport()) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0) {
            scrollOrTurn(-delta * m_scroll->verticalScrollBar()->singleStep() * 3 / 120);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void PreviewWindow::fitWidth() {
    if (pageCount() == 0) return;
    const int available = m_scroll->viewport()->width() - 2 * Gap;
    setZoom(available * TwipsPerPixel / pages().pageSize(m_page).width());
}

void PreviewWindow::fitPage() {
    if (pageCount() == 0) return;
    const QSize twips = pages().pageSize(m_page);
    const QSize available = m_scroll->viewport()->size() - QSize(2 * Gap, 2 * Gap);
    setZoom(std::min(available.width() * TwipsPerPixel / twips.width(),
                     available.height() * TwipsPerPixel / twips.height()));
}

void PreviewWindow::perform(const Tool& tool) {
    using A = Tool::Action;
    switch (tool.action) {
    case A::Print:
        printWithDialog(pages(), this);
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
