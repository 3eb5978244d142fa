#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <QVector>

namespace reports {

// A tool of the preview's toolbar. A tool's identifier is its position in the toolbar's
// collection. The engine's own tools carry an action; tools that layouts add carry none
// and only raise the report's tool-click event.
struct Tool {
    enum class Action {
        None,
        Separator,
        PageIndicator,
        Print,
        FirstPage,
        PreviousPage,
        NextPage,
        LastPage,
        ZoomOut,
        ZoomIn,
        Zoom, // to the tool's zoom factor
        PageWidth,
        WholePage,
        Close
    };

    int id = 0;
    QString caption;
    QString toolTip;
    QImage picture;
    bool enabled = true;
    bool visible = true;
    Action action = Action::None;
    double zoom = 1.0;
};

// The tool collection of a report's preview toolbar, addressed by position from 0; the
// engine's own tools take the first positions.
class Toolbar {
    Q_DECLARE_TR_FUNCTIONS(reports::Toolbar)

public:
    Toolbar();

    // Back to the engine's own tools.
    void reset();

    Tool& add(const QString& caption);
    int count() const { return int(m_tools.size()); }
    // The tool at a position; error 9 when there is none.
    Tool& tools(int position);
    const Tool& tools(int position) const;
    const QVector<Tool>& all() const { return m_tools; }

    // Positions taken by the engine's own tools.
    static int engineToolCount();

private:
    // The engine's own tools, with their texts in the process language.
    static QVector<Tool> engineTools();

    QVector<Tool> m_tools;
};

} // namespace reports
