#pragma once

#include "PageModel.h"
#include "Toolbar.h"

#include <QMainWindow>

#include <memory>

class QScrollArea;
class QToolBar;
class QAction;
class QLineEdit;
class QLabel;
class QIntValidator;
class QKeyEvent;

namespace reports {

class PageView;

// The preview of a report's pages, handed the pages and the toolbar's tools (the engine's own,
// print first, and those the layout adds): the pages painted on screen with page navigation and
// zoom. A click on a tool carries out the engine's action, if it has one, and is signalled. The
// page box takes a typed page number; PageUp/PageDown, Home/End, the arrow keys and the mouse
// wheel move through the pages, Ctrl+P prints and Escape closes. It knows no report: whoever
// shows it hands it what to show and answers its signal.
class PreviewWindow : public QMainWindow {
    Q_OBJECT
public:
    PreviewWindow();
    ~PreviewWindow() override;

    // The pages shown (null: none), kept for as long as they are shown.
    void setPages(std::shared_ptr<const Pages> pages);
    const Pages& pages() const;
    // The toolbar's tools, by position.
    void setTools(const QVector<Tool>& tools);

    int currentPage() const { return m_page; } // from 0
    int pageCount() const;
    double zoom() const { return m_zoom; }
    void setCurrentPage(int index);
    void setZoom(double zoom);

    QToolBar* toolBar() const { return m_toolBar; }
    // The toolbar's action for a tool position.
    QAction* action(int position) const;

    // Carries out an engine tool's action.
    void perform(const Tool& tool);

signals:
    // The tool at a position was clicked; its engine action, if any, is done.
    void toolClicked(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The keys of a report viewer; false for others.
    bool handleKey(const QKeyEvent& key);
    // Moves a page on or back: to its top going on, to its bottom going back.
    void step(int pages);
    // Scrolls by a number of pixels; past the page's top or bottom, turns the page.
    void scrollOrTurn(int pixels);
    QString pageIndicator() const;

    void rebuildToolbar();
    void updatePage();
    void fitWidth();
    void fitPage();

    std::shared_ptr<const Pages> m_pages;
    QVector<Tool> m_tools;
    QToolBar* m_toolBar = nullptr;
    QScrollArea* m_scroll = nullptr;
    PageView* m_view = nullptr;
    QVector<QAction*> m_actions;
    QLineEdit* m_pageBox = nullptr;
    QIntValidator* m_pageValidator = nullptr;
    QLabel* m_pageCountLabel = nullptr;
    int m_page = 0;
    double m_zoom = 1.0;
    bool m_clicking = false;
};

} // namespace reports
