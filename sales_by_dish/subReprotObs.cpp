#include "subReprotObs.h"

#include "framework/funciones.h"
#include "runtime/Variant.h"

using namespace framework;

namespace dorrindale {
using namespace reports;

subReprotObs::subReprotObs() {
    setCaption(QStringLiteral("subReprotObs"));
    addSection(SectionKind::PageHeader, QStringLiteral("PageHeader"), 0);
    Section* detail = addSection(SectionKind::Detail, QStringLiteral("Detail"), 315);
    qty = detail->addField(QStringLiteral("qty"), QStringLiteral("qty"), {0, 0, 1276, 283});
    concepto = detail->addField(QStringLiteral("concepto"), QStringLiteral("concepto"), {1276, 0, 4110, 283});
    PRECIO = detail->addField(QStringLiteral("PRECIO"), QStringLiteral("PRECIO"), {7370, 0, 1417, 283});
    total = detail->addField(QStringLiteral("total"), {}, {8787, 0, 1417, 283});
    for (Field* field : {qty, PRECIO, total})
        field->setAlignment(Alignment::Right);
    dao = detail->addDataControl(QStringLiteral("dao"), {0, 0, 0, 0});
    addSection(SectionKind::PageFooter, QStringLiteral("PageFooter"), 0);
    detail->onFormat([this] { Detail_Format(); });
}

// The line total comes from the quantity and price themselves, so a price with decimals is
// read right whatever the regional decimal separator.
void subReprotObs::Detail_Format() {
    const double q = ValorNumerico(qty->dataValue());
    const double p = ValorNumerico(PRECIO->dataValue());
    total->setText(runtime::Variant(q * p).toString());
}

} // namespace dorrindale
