#include "subReportDctos.h"

namespace dorrindale {

using namespace reports;

subReportDctos::subReportDctos() {
    setCaption(QStringLiteral("subReportDctos"));
    Section* detail = addSection(SectionKind::Detail, QStringLiteral("Detail"), 345);
    sf_fecha = detail->addField(QStringLiteral("sf_fecha"), QStringLiteral("sf_fecha"), {0, 0, 6094, 283});
    sf_fecha->setText(QStringLiteral("Fecha"));
    txtmonto = detail->addField(QStringLiteral("txtmonto"), QStringLiteral("monto"), {6094, 0, 1417, 283},
                                QStringLiteral("#,##0"));
    txtmonto->setAlignment(Alignment::Right);
    dao = detail->addDataControl(QStringLiteral("dao"), {0, 0, 0, 0});
}

} // namespace dorrindale
