#include "ListViewHelpers.h"

#include "ErrorLog.h"
#include "GridHelpers.h"

#include "forms/ListView.h"
#include "runtime/RuntimeError.h"
#include "runtime/Strings.h"
#include "runtime/Variant.h"

namespace framework {

namespace {
const ErrorOrigin ModuleOrigin = ErrorOrigin::module(QStringLiteral("mFunciones"));

QString numbered(char prefix, int n) {
    return QLatin1Char(prefix) + QString::number(n);
}
} // namespace

void lvPrep(forms::ListView& lv, std::int16_t slot, const QString& specification) {
    trapErrors(QStringLiteral("lvPrep"), ModuleOrigin, [&] {
        const QStringList columns = runtime::Split(specification, QStringLiteral("|"));
        lv.clearItems();
        lv.clearColumns();
        for (int i = 0; i < columns.size(); ++i) {
            const QStringList parts = runtime::Split(columns[i], QStringLiteral(";"));
            if (parts.size() < 2) runtime::raise(runtime::err::SubscriptOutOfRange);
            lv.addColumn(numbered('A', i), parts[0], runtime::Variant(parts[1]).toDouble());
        }
        lv.refresh();
        gFilasGrilla[slot] = 0;
    });
}

void lvAddItem(forms::ListView& lv, std::int16_t slot, const QString& row) {
    lv.setVisible(false);
    trapErrors(QStringLiteral("lvAddItem"), ModuleOrigin, [&] {
        const QStringList fields = runtime::Split(row, QStringLiteral("|"));
        const std::int32_t n = gFilasGrilla[slot] += 1;
        for (int i = 0; i < fields.size() && i < lv.columnCount(); ++i) {
            if (i == 0)
                lv.addItem(numbered('B', n), fields[i]);
            else
                lv.addSubItem(lv.item(numbered('B', n)), numbered('C', i), fields[i]);
        }
    });
    // Shown again after a failure too, so a bad row never leaves the list hidden.
    lv.setVisible(true);
}

void lvSeleccionarTodos(forms::ListView& lv) {
    lv.setEnabled(false);
    lv.setVisible(false);
    for (int i = 1; i <= lv.count(); ++i)
        lv.setSelected(i, true);
    lv.setVisible(true);
    lv.setEnabled(true);
}

} // namespace framework
