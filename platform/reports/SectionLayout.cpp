#include "SectionLayout.h"

#include "PagePainter.h"

#include <QFontMetricsF>

#include <algorithm>
#include <map>

namespace reports {

int wrappedTextHeight(const QString& text, const Font& font, int width) {
    // Pixel-sized fonts measure in twips directly.
    static std::map<std::tuple<QString, double, bool, bool>, QFontMetricsF> cache;
    const auto key = std::make_tuple(font.name, font.size, font.bold, font.italic);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, QFontMetricsF(qtFont(font))).first;
    const QRectF bounds = it->second.boundingRect(QRectF(0, 0, width, 1e9),
                                                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    return int(std::ceil(bounds.height()));
}

PageItem translated(PageItem item, int dx, int dy) {
    item.rect.translate(dx, dy);
    item.line.translate(dx, dy);
    return item;
}

namespace {

// Whether a placed control prints anything: empty texts do not.
bool hasContent(const SectionLayout::Placed& placed) {
    switch (placed.control->kind()) {
    case Control::Kind::Label:
        return !static_cast<const Label*>(placed.control)->caption().isEmpty();
    case Control::Kind::Field:
        return !static_cast<const Field*>(placed.control)->text().isEmpty();
    case Control::Kind::Line:
        return true;
    case Control::Kind::SubReport:
        return !placed.subBands.isEmpty();
    case Control::Kind::DataControl:
        return false;
    }
    return false;
}

} // namespace

SectionLayout layOut(const Section& section) {
    SectionLayout layout;
    layout.height = section.height();
    layout.controls.reserve(qsizetype(section.controls().size()));

    // Growth of each growing control: (design bottom, extra height).
    QVector<QPair<int, int>> growth;
    for (const auto& owned : section.controls()) {
        const Control* control = owned.get();
        if (!control->visible() || control->kind() == Control::Kind::DataControl) continue;
        SectionLayout::Placed placed{control, control->rect(), {}};
        if (control->kind() == Control::Kind::SubReport) {
            const auto* sub = static_cast<const SubReport*>(control);
            if (sub->report()) {
                placed.subBands = sub->report()->runAsSubReport(control->rect().width());
                int needed = 0;
                for (const Band& band : placed.subBands)
                    needed += band.height;
                if (needed > placed.rect.height())
                    growth.append({control->rect().bottom() + 1, needed - placed.rect.height()});
                placed.rect.setHeight(std::max(needed, placed.rect.height()));
            }
        } else if (control->kind() == Control::Kind::Field) {
            const auto* field = static_cast<const Field*>(control);
            if (field->canGrow() && !field->text().isEmpty()) {
                const int needed = wrappedTextHeight(field->text(), field->font(), control->rect().width());
                if (needed > placed.rect.height()) {
                    growth.append({control->rect().bottom() + 1, needed - placed.rect.height()});
                    placed.rect.setHeight(needed);
                }
            }
        }
        layout.controls.append(placed);
    }
    // Controls below a growing control move down by its growth.
    int extra = 0;
    for (const auto& g : growth)
        extra += g.second;
    int contentBottom = 0;
    for (auto& placed : layout.controls) {
        int shift = 0;
        for (const auto& [designBottom, grown] : growth)
            if (placed.control->rect().top() >= designBottom) shift += grown;
        placed.rect.translate(0, shift);
        if (hasContent(placed)) contentBottom = std::max(contentBottom, placed.rect.bottom() + 1);
    }
    // A growing section also takes in the controls it prints below its designed height
    // (a second line that only some rows fill).
    if (section.canGrow()) layout.height = std::max(section.height() + extra, contentBottom);
    return layout;
}

namespace {

// A picture that shows a date or a time: a named one, or one with day, month-with-day, year,
// hour, minute or second placeholders outside quoted text.
bool isDatePicture(const QString& picture) {
    static const QStringList named{QStringLiteral("general date"), QStringLiteral("long date"),
                                   QStringLiteral("medium date"),  QStringLiteral("short date"),
                                   QStringLiteral("long time"),    QStringLiteral("medium time"),
                                   QStringLiteral("short time")};
    if (picture.isEmpty()) return false;
    if (named.contains(picture, Qt::CaseInsensitive)) return true;
    bool quoted = false;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i].toLower();
        if (c == u'"')
            quoted = !quoted;
        else if (c == u'\\')
            ++i;
        else if (!quoted && (c == u'd' || c == u'y' || c == u'h' || c == u'n' || c == u's'))
            return true;
    }
    return false;
}

void addText(QVector<PageItem>& items, const QRect& rect, const QString& text, const Control& control,
             bool wrap) {
    if (!text.isEmpty())
        items.append(
            PageItem::textBox(rect, text, control.font(), control.foreColor(), control.alignment(), wrap));
}

void renderControl(const SectionLayout::Placed& placed, QVector<PageItem>& items) {
    const Control* control = placed.control;
    const QRect& rect = placed.rect;
    if (control->backColor().isValid() && control->kind() != Control::Kind::Line)
        items.append(PageItem::filledRect(rect, control->backColor()));
    switch (control->kind()) {
    case Control::Kind::Label:
        addText(items, rect, static_cast<const Label*>(control)->caption(), *control, false);
        break;
    case Control::Kind::Field: {
        const auto* field = static_cast<const Field*>(control);
        const qsizetype before = items.size();
        addText(items, rect, field->text(), *control, field->canGrow());
        if (items.size() > before && field->textShowsValue()) {
            runtime::Variant value = field->dataValue();
            if (value.isNumber() && isDatePicture(field->outputFormat()))
                value = runtime::Variant::date(value.toDouble());
            items.last().value = value;
        }
        break;
    }
    case Control::Kind::Line: {
        const auto* line = static_cast<const Line*>(control);
        const int dy = rect.top() - control->rect().top();
        items.append(
            PageItem::lineFrom(line->line().translated(0, dy), control->foreColor(), line->lineWidth()));
        break;
    }
    case Control::Kind::SubReport: {
        int y = rect.top();
        for (const Band& band : placed.subBands) {
            for (const PageItem& item : band.items)
                items.append(translated(item, rect.left(), y));
            y += band.height;
        }
        break;
    }
    case Control::Kind::DataControl:
        break;
    }
}

} // namespace

namespace {

// Gives each single line of text the free room on its right: up to the nearest text or filled
// box beside it, or the band's right edge. A total wider than its box stays readable, and a
// long name never runs into the next column.
void measureRoom(QVector<PageItem>& items, int width) {
    for (PageItem& item : items) {
        if (item.kind != PageItem::Kind::Text || item.wrap) continue;
        int right = width;
        for (const PageItem& other : items) {
            if (&other == &item || other.kind == PageItem::Kind::Line) continue;
            const bool beside = other.rect.left() > item.rect.left() &&
                                other.rect.top() <= item.rect.bottom() &&
                                other.rect.bottom() >= item.rect.top();
            if (beside) right = std::min(right, other.rect.left());
        }
        item.room = std::max(item.rect.width(), right - item.rect.left());
    }
}

} // namespace

Band render(const Section& section, const SectionLayout& layout, int width) {
    Band band;
    band.height = layout.height;
    band.items.reserve(2 * layout.controls.size() + 1);
    if (section.backColor().isValid())
        band.items.append(PageItem::filledRect(QRect(0, 0, width, layout.height), section.backColor()));
    for (const auto& placed : layout.controls)
        renderControl(placed, band.items);
    measureRoom(band.items, width);
    return band;
}

} // namespace reports
