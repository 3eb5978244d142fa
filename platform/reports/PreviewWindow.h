#pragma once

#include "Toolbar.h"

#include <QMainWindow>

class QScrollArea;
class QToolBar;
class QAction;
class QLineEdit;
class QLabel;
class QKeyEvent;

namespace reports {

class Report;
class PageView;

// The preview of a report: its pages painted on screen with page navigation and zoom, and
// the report's toolbar (the engine's own tools, print first, and those the layout adds).
// The title is the report's caption. The page box takes a typed page number; PageUp/PageDown,
// Home/End, the arrow keys and the mouse wheel move through the pages, Ctrl+P prints and
// Escape closes.
class PreviewWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit PreviewWindow(Report& report);
    ~PreviewWindow() override;

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

    // Rebuilds the toolbar from the report's tool collection and shows the pages anew.
    void refresh();

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

    Report& m_report;
    QToolBar* m_toolBar = nullptr;
    QScrollArea* m_scroll = nullptr;
    PageView* m_view = nullptr;
    QVector<QAction*> m_actions;
    QLineEdit* m_pageBox = nullptr;
    QLabel* m_pageCountLabel = nullptr;
    int m_page = 0;
    double m_zoom = 1.0;
    bool m_clicking = false;
};

} // namespace reports
