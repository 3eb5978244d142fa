#include "Toolbar.h"

#include "runtime/RuntimeError.h"

namespace reports {

namespace {

Tool engineTool(Tool::Action action, const QString& caption, const QString& toolTip, double zoom = 1.0) {
    Tool tool;
    tool.action = action;
    tool.caption = caption;
    tool.toolTip = toolTip;
    tool.zoom = zoom;
    tool.enabled = action != Tool::Action::Separator && action != Tool::Action::PageIndicator;
    return tool;
}

QVector<Tool> engineTools() {
    using A = Tool::Action;
    return {
        engineTool(A::Print, QStringLiteral("Print..."), QStringLiteral("Print the report")),
        engineTool(A::Separator, {}, {}),
        engineTool(A::FirstPage, QStringLiteral("|<"), QStringLiteral("First page")),
        engineTool(A::PreviousPage, QStringLiteral("<"), QStringLiteral("Previous page")),
        engineTool(A::NextPage, QStringLiteral(">"), QStringLiteral("Next page")),
        engineTool(A::LastPage, QStringLiteral(">|"), QStringLiteral("Last page")),
        engineTool(A::Separator, {}, {}),
        engineTool(A::PageIndicator, {}, QStringLiteral("Page")),
        engineTool(A::Separator, {}, {}),
        engineTool(A::ZoomOut, QStringLiteral("-"), QStringLiteral("Zoom out")),
        engineTool(A::ZoomIn, QStringLiteral("+"), QStringLiteral("Zoom in")),
        engineTool(A::Zoom, QStringLiteral("50%"), QStringLiteral("Zoom to 50%"), 0.5),
        engineTool(A::Zoom, QStringLiteral("75%"), QStringLiteral("Zoom to 75%"), 0.75),
        engineTool(A::Zoom, QStringLiteral("100%"), QStringLiteral("Actual size"), 1.0),
        engineTool(A::Zoom, QStringLiteral("150%"), QStringLiteral("Zoom to 150%"), 1.5),
        engineTool(A::Zoom, QStringLiteral("200%"), QStringLiteral("Zoom to 200%"), 2.0),
        engineTool(A::PageWidth, QStringLiteral("Fit Width"), QStringLiteral("Fit the page's width")),
        engineTool(A::WholePage, QStringLiteral("Fit Page"), QStringLiteral("Fit the whole page")),
        engineTool(A::Separator, {}, {}),
        engineTool(A::Close, QStringLiteral("Close"), QStringLiteral("Close the preview")),
        engineTool(A::Separator, {}, {}),
    };
}

} // namespace

Toolbar::Toolbar() {
    reset();
}

void Toolbar::reset() {
    m_tools = engineTools();
    for (int i = 0; i < m_tools.size(); ++i)
        m_tools[i].id = i;
}

Tool& Toolbar::add(const QString& caption) {
    Tool tool;
    tool.caption = caption;
    tool.id = int(m_tools.size());
    m_tools.append(tool);
    return m_tools.last();
}

Tool& Toolbar::tools(int position) {
    if (position < 0 || position >= m_tools.size()) runtime::raise(runtime::err::SubscriptOutOfRange);
    return m_tools[position];
}

const Tool& Toolbar::tools(int position) const {
    return const_cast<Toolbar*>(this)->tools(position);
}

int Toolbar::engineToolCount() {
    return int(engineTools().size());
}

} // namespace reports
