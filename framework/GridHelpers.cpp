#include "GridHelpers.h"

#include "ErrorLog.h"

#include "forms/Grid.h"
#include "runtime/RuntimeError.h"
#include "runtime/Strings.h"
#include "runtime/Variant.h"

namespace framework {

GridRowCounts gFilasGrilla;
std::int32_t gColOrden = 0;
std::int32_t gSentidoOrden = 0;

namespace {
const ErrorOrigin ModuleOrigin = ErrorOrigin::module(QStringLiteral("mFunciones"));
}

std::int32_t& GridRowCounts::operator[](int slot) {
    if (slot < 0 || slot >= static_cast<int>(m_counters.size()))
        runtime::raise(runtime::err::SubscriptOutOfRange);
    return m_counters[slot];
}

void GPrep(forms::Grid& grid, std::int16_t slot, const QString& specification) {
    trapErrors(QStringLiteral("GPrep"), ModuleOrigin, [&] {
        grid.setRedraw(false);
        const QStringList columns = runtime::Split(specification, QStringLiteral("|"));
        grid.setCols(columns.size());
        grid.setRows(0);
        grid.setRows(2);
        grid.setFixedRows(1);
        grid.setFocusRect(0);
        grid.setSelectionMode(forms::Grid::SelectionByRow);
        for (int i = 0; i < columns.size() && i < grid.cols(); ++i) {
            const QStringList parts = runtime::Split(columns[i], QStringLiteral(";"));
            if (parts.isEmpty()) runtime::raise(runtime::err::SubscriptOutOfRange);
            grid.setTextMatrix(0, i, parts[0]);
            if (parts.size() > 1) grid.setColWidth(i, runtime::Variant(parts[1]).toLong());
        }
        grid.setRedraw(true);
        gFilasGrilla[slot] = 0;
    });
}

void GAddItem(forms::Grid& grid, std::int16_t slot, const QString& row, bool bulk) {
    trapErrors(QStringLiteral("GAddItem"), ModuleOrigin, [&] {
        if (!bulk) grid.setRedraw(false);
        const QStringList cells = runtime::Split(row, QStringLiteral("|"));
        if (gFilasGrilla[slot] != 0) grid.setRows(grid.rows() + 1);
        gFilasGrilla[slot] += 1;
        const int last = grid.rows() - 1;
        for (int i = 0; i < cells.size() && i < grid.cols(); ++i)
            grid.setTextMatrix(last, i, cells[i]);
        if (!bulk) grid.setRedraw(true);
    });
}

void OrdenaGrilla(forms::Grid& grid, std::int32_t col) {
    grid.setRedraw(false);
    grid.setCol(col);
    grid.setColSel(col);
    grid.setRow(0);
    grid.setRowSel(0);
    const std::int32_t setting = col != gColOrden ? 1 : (gSentidoOrden == 1 ? 2 : 1);
    gSentidoOrden = setting;
    grid.setSort(setting);
    if (gColOrden >= 0 && gColOrden < grid.cols()) {
        const QString title = grid.textMatrix(0, gColOrden);
        if (title.startsWith(QLatin1String("> ")) || title.startsWith(QLatin1String("< ")))
            grid.setTextMatrix(0, gColOrden, title.mid(2));
    }
    gColOrden = col;
    const QString marker = setting == 1 ? QStringLiteral("< ") : QStringLiteral("> ");
    grid.setTextMatrix(0, col, marker + grid.textMatrix(0, col));
    grid.setRedraw(true);
}

} // namespace framework
