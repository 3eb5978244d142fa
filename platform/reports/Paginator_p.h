#pragma once

#include "Band.h"
#include "PageModel.h"
#include "PageSetup.h"

#include <functional>

namespace reports {

// Places a run's bands on pages: a page header at the top of every page, a page footer at
// the bottom, a new page when a band does not fit, and a band taller than a page split
// between its operations.
class Paginator : public BandSink {
public:
    using BandMaker = std::function<Band()>;

    Paginator(const PageSetup& setup, BandMaker pageHeader, BandMaker pageFooter, int footerHeight);

    // Opens the first page without its header (the report header comes first).
    void begin() override;
    void reportHeaderPlaced() override;

    // Told the number of pages begun, at each new page.
    void onNewPage(std::function<void(int)> listener) { m_newPage = std::move(listener); }

    void reserve(int height) override;
    void place(const Band& band) override;

    Pages finish();

private:
    void newPage();
    void closePage();
    void put(const Band& band, int from, int to);
    int bodyTop() const { return m_setup.topMargin; }

    PageSetup m_setup;
    BandMaker m_pageHeader;
    BandMaker m_pageFooter;
    int m_footerHeight;
    int m_limit;
    std::function<void(int)> m_newPage;
    Pages m_pages;
    bool m_open = false;
    int m_y = 0;
};

} // namespace reports
