#include "Toolbar.h"

#include "Translations_p.h"
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

} // namespace

QVector<Tool> Toolbar::engineTools() {
    useTranslations();
    using A = Tool::Action;
    const auto zoomTo = [](double zoom) {
        const int percent = int(zoom * 100);
        return engineTool(A::Zoom, QStringLiteral("%1%").arg(percent),
                          percent == 100 ? tr("Actual size") : tr("Zoom to %1%").arg(percent), zoom);
    };
    return {
        engineTool(A::Print, tr("Print..."), tr("Print the report")),
        engineTool(A::Separator, {}, {}),
        engineTool(A::FirstPage, QStringLiteral("|<"), tr("First page")),
        engineTool(A::PreviousPage, QStringLiteral("<"), tr("Previous page")),
        engineTool(A::NextPage, QStringLiteral(">"), tr("Next page")),
        engineTool(A::LastPage, QStringLiteral(">|"), tr("Last page")),
        engineTool(A::Separator, {}, {}),
        engineTool(A::PageIndicator, {}, tr("Page")),
        engineTool(A::Separator, {}, {}),
        engineTool(A::ZoomOut, QStringLiteral("-"), tr("Zoom out")),
        engineTool(A::ZoomIn, QStringLiteral("+"), tr("Zoom in")),
        zoomTo(0.5),
        zoomTo(0.75),
        zoomTo(1.0),
        zoomTo(1.5),
        zoomTo(2.0),
        engineTool(A::PageWidth, tr("Fit Width"), tr("Fit the page's width")),
        engineTool(A::WholePage, tr("Fit Page"), tr("Fit the whole page")),
        engineTool(A::Separator, {}, {}),
        engineTool(A::Close, tr("Close"), tr("Close the preview")),
        engineTool(A::Separator, {}, {}),
    };
}

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
