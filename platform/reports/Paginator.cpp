#include "Paginator_p.h"

#include <algorithm>

namespace reports {

Paginator::Paginator(const PageSetup& setup, BandMaker pageHeader, BandMaker pageFooter, int footerHeight)
    : m_setup(setup), m_pageHeader(std::move(pageHeader)), m_pageFooter(std::move(pageFooter)),
      m_footerHeight(footerHeight) {
    m_limit = m_setup.pageSize().height() - m_setup.bottomMargin - m_footerHeight;
}

void Paginator::begin() {
    m_pages.addPage(m_setup.pageSize());
    m_open = true;
    m_y = bodyTop();
    if (m_newPage) m_newPage(int(m_pages.size()));
}

void Paginator::reportHeaderPlaced() {
    if (m_pageHeader) {
        Band header = m_pageHeader();
        put(header, 0, header.height);
        m_y += header.height;
    }
}

void Paginator::closePage() {
    if (!m_open) return;
    if (m_pageFooter) {
        const Band footer = m_pageFooter();
        const int top = m_setup.pageSize().height() - m_setup.bottomMargin - m_footerHeight;
        for (const PageItem& item : footer.items)
            m_pages.addItem(item, m_setup.leftMargin, top);
    }
    m_open = false;
}

void Paginator::newPage() {
    closePage();
    begin();
    reportHeaderPlaced();
}

void Paginator::reserve(int height) {
    if (!m_open || (m_y + height > m_limit && m_y > bodyTop())) newPage();
}

void Paginator::put(const Band& band, int from, int to) {
    for (const PageItem& item : band.items) {
        const int top = item.rect.top();
        if (top >= from && top < to) m_pages.addItem(item, m_setup.leftMargin, m_y - from);
    }
}

void Paginator::place(const Band& placed) {
    if (!m_open) newPage();
    if (m_y + placed.height <= m_limit) {
        put(placed, 0, placed.height);
        m_y += placed.height;
        return;
    }
    // Taller than the room left: cut between operations, each part on a page of its own.
    Band band = placed;
    std::stable_sort(band.items.begin(), band.items.end(),
                     [](const PageItem& a, const PageItem& b) { return a.rect.top() < b.rect.top(); });
    int from = 0;
    while (from < band.height) {
        int to = from + std::max(1, m_limit - m_y);
        if (to < band.height) {
            // Do not cut through an operation that begins above the cut and fits on a page.
            for (const PageItem& item : band.items) {
                const int top = item.rect.top();
                if (top >= from && top < to && item.rect.bottom() + 1 > to && top > from)
                    to = std::min(to, top);
            }
        }
        to = std::min(to, band.height);
        put(band, from, to);
        m_y += to - from;
        from = to;
        if (from < band.height) newPage();
    }
}

Pages Paginator::finish() {
    if (!m_open && m_pages.isEmpty()) newPage();
    closePage();
    return std::move(m_pages);
}

} // namespace reports
