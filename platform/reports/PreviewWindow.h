#pragma once

#include "Toolbar.h"

#include <QMainWindow>

class QScrollArea;
class QToolBar;
class QAction;

namespace reports {

class Report;
class PageView;

// The preview of a report: its pages painted on screen with page navigation and zoom, and
// the report's toolbar (the engine's own tools, print first, and those the layout adds).
// The title is the report's caption.
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

private:
    void rebuildToolbar();
    void updatePage();
    void fitWidth();
    void fitPage();

    Report& m_report;
    QToolBar* m_toolBar = nullptr;
    QScrollArea* m_scroll = nullptr;
    PageView* m_view = nullptr;
    QVector<QAction*> m_actions;
    int m_page = 0;
    double m_zoom = 1.0;
    bool m_clicking = false;
};

} // namespace reports
