#include "PageModel.h"

#include <QHash>

#include <algorithm>
#include <bit>

namespace reports {

PageItem PageItem::textBox(const QRect& rect, const QString& text, const Font& font, const QColor& color,
                           Alignment alignment, bool wrap) {
    PageItem item;
    item.kind = Kind::Text;
    item.rect = rect;
    item.text = text;
    item.font = font;
    item.color = color;
    item.alignment = alignment;
    item.wrap = wrap;
    return item;
}

PageItem PageItem::lineFrom(const QLine& line, const QColor& color, int width) {
    PageItem item;
    item.kind = Kind::Line;
    item.line = line;
    item.rect = QRect(line.p1(), line.p2()).normalized();
    item.color = color;
    item.lineWidth = width;
    return item;
}

PageItem PageItem::filledRect(const QRect& rect, const QColor& fill) {
    PageItem item;
    item.kind = Kind::Rect;
    item.rect = rect;
    item.color = fill;
    return item;
}

} // namespace reports

namespace reports {

// Texts and fonts met in a report, each stored once.
struct Pages::Pool {
    QHash<QString, quint32> textIds;
    std::vector<QString> texts{QString()};
    std::vector<Font> fonts;

    // The id of each text buffer met twice: a text shared with one stored (a caption met on
    // every page) is found without hashing its characters. The pool's copy keeps the buffer
    // alive and unchanged, so a pointer once stored always means the same text.
    QHash<const QChar*, quint32> buffers;

    quint32 text(const QString& text) {
        if (text.isEmpty()) return 0;
        if (const auto known = buffers.constFind(text.constData()); known != buffers.constEnd()) {
            const QString& stored = texts[*known];
            if (stored.constData() == text.constData() && stored.size() == text.size()) return *known;
        }
        auto it = textIds.constFind(text);
        if (it == textIds.constEnd()) {
            texts.push_back(text);
            return *textIds.insert(text, quint32(texts.size() - 1));
        }
        // Met again through the same buffer: from now on found by it.
        if (texts[*it].constData() == text.constData()) buffers.insert(text.constData(), *it);
        return *it;
    }
    quint16 font(const Font& font) {
        for (size_t i = 0; i < fonts.size(); ++i)
            if (fonts[i] == font) return quint16(i);
        fonts.push_back(font);
        return quint16(fonts.size() - 1);
    }

    std::vector<QRgb> colors;
    quint16 color(const QColor& color) {
        const QRgb rgba = color.rgba();
        for (size_t i = colors.size(); i-- > 0;)
            if (colors[i] == rgba) return quint16(i);
        colors.push_back(rgba);
        return quint16(colors.size() - 1);
    }

    // A field's value: its type, its number and its text.
    struct Value {
        runtime::Variant::Type type;
        double number;
        quint32 text;
    };
    std::vector<Value> values{Value{runtime::Variant::Type::Empty, 0, 0}};
    QHash<std::pair<quint64, quint64>, quint32> valueIds;
    quint32 value(const runtime::Variant& value) {
        if (value.isEmpty()) return 0;
        const Value v{value.type(), value.isString() ? 0.0 : value.rawNumber(),
                      value.isString() ? text(value.rawString()) : 0};
        const std::pair<quint64, quint64> key{(quint64(v.type) << 32) | v.text,
                                              std::bit_cast<quint64>(v.number)};
        auto it = valueIds.constFind(key);
        if (it == valueIds.constEnd()) {
            values.push_back(v);
            it = valueIds.insert(key, quint32(values.size() - 1));
        }
        return *it;
    }
};

namespace {
qint16 clamped16(int value) {
    return qint16(std::clamp(value, -32768, 32767));
}
} // namespace

Pages::Pages() : m_pool(std::make_shared<Pool>()) {}

size_t Pages::itemBytes() const {
    return m_items.size() * sizeof(Packed) + m_pages.capacity() * sizeof(Entry);
}

void Pages::addPage(const QSize& size) {
    m_pages.push_back({size, m_items.size()});
}

void Pages::append(const Page& page) {
    addPage(page.size);
    for (const PageItem& item : page.items)
        addItem(item);
}

void Pages::addItem(const PageItem& item, int dx, int dy) {
    Packed packed{};
    packed.kind = quint8(item.kind);
    if (item.kind == PageItem::Kind::Line) {
        packed.x1 = item.line.x1() + dx;
        packed.y1 = item.line.y1() + dy;
        packed.x2 = item.line.x2() + dx;
        packed.y2 = item.line.y2() + dy;
        packed.extra = clamped16(item.lineWidth);
    } else {
        packed.x1 = item.rect.left() + dx;
        packed.y1 = item.rect.top() + dy;
        packed.x2 = item.rect.width();
        packed.y2 = item.rect.height();
        packed.extra = clamped16(item.room);
    }
    packed.text = m_pool->text(item.text);
    packed.value = m_pool->value(item.value);
    packed.color = m_pool->color(item.color);
    packed.font = m_pool->font(item.font);
    packed.alignment = quint8(item.alignment);
    packed.wrap = item.wrap;
    m_items.push_back(packed);
}

namespace {

runtime::Variant variantOf(runtime::Variant::Type type, double number, const QString& text) {
    using T = runtime::Variant::Type;
    switch (type) {
    case T::Empty:
        return {};
    case T::Null:
        return runtime::Variant::null();
    case T::Boolean:
        return runtime::Variant(number != 0);
    case T::Integer:
        return runtime::Variant::integer(int(number));
    case T::Long:
        return runtime::Variant(int(number));
    case T::Double:
        return runtime::Variant(number);
    case T::Currency:
        return runtime::Variant::currency(number);
    case T::Date:
        return runtime::Variant::date(number);
    case T::String:
        return runtime::Variant(text);
    }
    return {};
}

} // namespace

Page Pages::unpack(qsizetype index) const {
    const Entry& entry = m_pages[size_t(index)];
    const size_t end = size_t(index + 1) < m_pages.size() ? m_pages[size_t(index + 1)].first : m_items.size();
    Page page{entry.size, {}};
    page.items.reserve(qsizetype(end - entry.first));
    for (size_t i = entry.first; i < end; ++i) {
        const Packed& packed = m_items[i];
        PageItem item;
        item.kind = PageItem::Kind(packed.kind);
        if (item.kind == PageItem::Kind::Line) {
            item.line = QLine(packed.x1, packed.y1, packed.x2, packed.y2);
            item.rect = QRect(item.line.p1(), item.line.p2()).normalized();
            item.lineWidth = packed.extra;
        } else {
            item.rect = QRect(packed.x1, packed.y1, packed.x2, packed.y2);
            item.room = packed.extra;
        }
        item.text = m_pool->texts[packed.text];
        item.font = m_pool->fonts[packed.font];
        item.color = QColor::fromRgba(m_pool->colors[packed.color]);
        item.alignment = Alignment(packed.alignment);
        item.wrap = packed.wrap;
        const Pool::Value& value = m_pool->values[packed.value];
        item.value = variantOf(value.type, value.number, m_pool->texts[value.text]);
        page.items.append(std::move(item));
    }
    return page;
}

Pages Pages::mid(qsizetype from, qsizetype count) const {
    Pages part;
    part.m_pool = m_pool;
    const qsizetype to = std::min(size(), from + count);
    for (qsizetype i = std::max<qsizetype>(0, from); i < to; ++i) {
        const size_t first = m_pages[size_t(i)].first;
        const size_t end = size_t(i + 1) < m_pages.size() ? m_pages[size_t(i + 1)].first : m_items.size();
        part.m_pages.push_back({m_pages[size_t(i)].size, part.m_items.size()});
        part.m_items.insert(part.m_items.end(), m_items.begin() + qsizetype(first),
                            m_items.begin() + qsizetype(end));
    }
    return part;
}

} // namespace reports
