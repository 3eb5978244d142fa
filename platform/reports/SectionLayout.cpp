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

void addText(QVector<PageItem>& items, const QRect& rect, const QString& text, const Control& control,
             bool wrap) {
    if (!text.isEmpty())
        items.append(
            PageItem::textBox(rect, text, control.font(), control.foreColor(), control.alignment(), wrap));
}

// A field's text, unless it is empty, with the value it shows (a number under a date picture as
// that date); whether it added one.
bool addFieldText(QVector<PageItem>& items, const QRect& rect, const Field& field) {
    const QString& text = field.text();
    if (text.isEmpty()) return false;
    items.append(
        PageItem::textBox(rect, text, field.font(), field.foreColor(), field.alignment(), field.canGrow()));
    if (field.textShowsValue()) {
        const runtime::Variant& value = field.dataValue();
        items.last().value =
            value.isNumber() && field.showsDates() ? runtime::Variant::date(value.toDouble()) : value;
    }
    return true;
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
    case Control::Kind::Field:
        addFieldText(items, rect, *static_cast<const Field*>(control));
        break;
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

void render(const Section& section, const SectionLayout& layout, int width, Band& band) {
    band.height = layout.height;
    band.items.clear();
    band.items.reserve(2 * layout.controls.size() + 1);
    if (section.backColor().isValid())
        band.items.append(PageItem::filledRect(QRect(0, 0, width, layout.height), section.backColor()));
    for (const auto& placed : layout.controls)
        renderControl(placed, band.items);
    measureRoom(band.items, width);
}

bool SectionPainter::planned(int width) const {
    if (!m_hasPlan || width != m_width || m_section.revision() != m_sectionRevision) return false;
    const auto& controls = m_section.controls();
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i]->revision() != m_revisions[i]) return false;
    return true;
}

SectionPainter::Slot& SectionPainter::addFixed(const PageItem& item) {
    m_slots.emplace_back();
    m_slots.back().item = item;
    return m_slots.back();
}

void SectionPainter::plan(int width) {
    m_hasPlan = true;
    m_width = width;
    m_sectionRevision = m_section.revision();
    m_revisions.clear();
    m_placed.clear();
    m_slots.clear();
    m_growing.clear();
    m_fixedBottom = 0;
    m_plannable = !m_section.backColor().isValid();
    for (const auto& owned : m_section.controls()) {
        const Control* control = owned.get();
        m_revisions.push_back(control->revision());
        if (!control->visible() || control->kind() == Control::Kind::DataControl) continue;
        const QRect& rect = control->rect();
        m_placed.emplace_back(control, rect);
        if (control->backColor().isValid() && control->kind() != Control::Kind::Line)
            addFixed(PageItem::filledRect(rect, control->backColor()));
        switch (control->kind()) {
        case Control::Kind::Label: {
            const QString& caption = static_cast<const Label*>(control)->caption();
            if (caption.isEmpty()) break;
            addFixed(PageItem::textBox(rect, caption, control->font(), control->foreColor(),
                                       control->alignment(), false))
                .measured = true;
            m_fixedBottom = std::max(m_fixedBottom, rect.bottom() + 1);
            break;
        }
        case Control::Kind::Field: {
            const auto* field = static_cast<const Field*>(control);
            Slot slot;
            slot.item.rect = rect;
            slot.field = field;
            slot.measured = !field->canGrow();
            m_slots.push_back(std::move(slot));
            if (field->canGrow()) m_growing.push_back(field);
            break;
        }
        case Control::Kind::Line: {
            const auto* line = static_cast<const Line*>(control);
            addFixed(PageItem::lineFrom(line->line(), control->foreColor(), line->lineWidth()));
            m_fixedBottom = std::max(m_fixedBottom, rect.bottom() + 1);
            break;
        }
        case Control::Kind::SubReport:
            m_plannable = false; // its rows are run at each occurrence
            break;
        case Control::Kind::DataControl:
            break;
        }
    }
    // The room each text may take: fixed boxes beside it end it always, fields where they print.
    for (Slot& slot : m_slots) {
        if (!slot.measured) continue;
        const QRect& r = slot.item.rect;
        slot.right = width;
        for (size_t j = 0; j < m_slots.size(); ++j) {
            const Slot& other = m_slots[j];
            if (&other == &slot || other.item.kind == PageItem::Kind::Line) continue;
            const QRect& o = other.item.rect;
            if (!(o.left() > r.left() && o.top() <= r.bottom() && o.bottom() >= r.top())) continue;
            if (other.field)
                slot.beside.push_back(int(j));
            else
                slot.right = std::min(slot.right, o.left());
        }
    }
}

SectionLayout SectionPainter::planLayout() const {
    SectionLayout layout;
    layout.height = m_height;
    for (const auto& [control, rect] : m_placed)
        layout.controls.append({control, rect, {}});
    return layout;
}

int SectionPainter::layOut(int width) {
    if (!planned(width)) plan(width);
    m_fromPlan = m_plannable;
    for (const Field* field : m_growing) {
        if (!m_fromPlan) break;
        const QString& text = field->text();
        if (!text.isEmpty() &&
            wrappedTextHeight(text, field->font(), field->rect().width()) > field->rect().height())
            m_fromPlan = false;
    }
    if (!m_fromPlan) {
        m_layout = reports::layOut(m_section);
        return m_layout.height;
    }
    int contentBottom = m_fixedBottom;
    for (const Slot& slot : m_slots)
        if (slot.field && !slot.field->text().isEmpty())
            contentBottom = std::max(contentBottom, slot.item.rect.bottom() + 1);
    m_height = m_section.canGrow() ? std::max(m_section.height(), contentBottom) : m_section.height();
    return m_height;
}

void SectionPainter::render(int width, Band& band) {
    if (m_fromPlan && !planned(width)) {
        // Changed since it was laid out: rendered whole, as laid out.
        m_layout = planLayout();
        m_fromPlan = false;
    }
    if (!m_fromPlan) {
        reports::render(m_section, m_layout, width, band);
        return;
    }
    band.height = m_height;
    band.items.clear();
    band.items.reserve(qsizetype(m_slots.size()));
    for (const Slot& slot : m_slots) {
        if (!slot.field)
            band.items.append(slot.item);
        else if (!addFieldText(band.items, slot.item.rect, *slot.field))
            continue;
        if (!slot.measured) continue;
        int right = slot.right;
        for (int j : slot.beside)
            if (!m_slots[size_t(j)].field->text().isEmpty())
                right = std::min(right, m_slots[size_t(j)].item.rect.left());
        PageItem& item = band.items.last();
        item.room = std::max(item.rect.width(), right - item.rect.left());
    }
}

} // namespace reports
