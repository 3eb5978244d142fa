#include "ActiveReport1.h"

#include "runtime/Regional.h"

using namespace reports;
using runtime::Variant;

namespace velmarsh {

namespace {

// A column: its caption over the field that prints it, both at the same left edge and width.
struct Column {
    const char* label;
    const char* caption;
    const char* field;
    const char* dataField;
    const char* format;
    int left;
    int width;
};

const Column Columns[] = {
    {"Label28", "Local", "local", "", "", 0, 1134},
    {"Label29", "Fecha", "Field2", "campo13", "d-mmm-yy", 1134, 1134},
    {"Label30", "Ticket", "txtcampo8", "campo8", "", 2268, 1134},
    {"Label31", "Comentario", "txtcampo24", "campo25", "", 3402, 2834},
    {"Label32", "Usuario", "Field5", "campo27", "", 6236, 1134},
    {"Label37", "Hora", "txtcampo17", "campo18", "h:mm", 7370, 1134},
    {"Label33", "Articulo", "txtcampo19", "campo20", "", 8504, 2835},
    {"Label34", "Cantidad", "txtcampo18", "campo19", "", 11339, 1133},
    {"Label35", "Px", "txtcampo20", "campo21", "", 12472, 1134},
    {"Label36", "Total", "lintotal", "", "", 13606, 1134},
};

// The leading number of a field's text, read with "." as the only decimal separator; a
// number from the database is taken as it is, whatever separator its text shows.
double leadingNumber(const Field& field) {
    const Variant& value = field.dataValue();
    if (value.isNumber()) return value.toDouble();
    return runtime::val(field.text());
}

} // namespace

ActiveReport1::ActiveReport1() {
    setCaption(QStringLiteral("ActiveReport1"));
    pageSetup().paper = {12240, 15840};
    pageSetup().orientation = PageSetup::Orientation::Landscape;
    pageSetup().setMargins(770);
    // The columns end at 14740: side margins of 550 twips let the last one print whole.
    pageSetup().leftMargin = pageSetup().rightMargin = 550;

    ReportHeader = addSection(SectionKind::ReportHeader, QStringLiteral("ReportHeader"), 570);
    ReportHeader->addLabel(QStringLiteral("Label11"), QStringLiteral("Items Eliminados"), {0, 0, 13606, 283})
        ->font()
        .size = 11.5;
    addSection(SectionKind::PageHeader, QStringLiteral("PageHeader"), 0);

    Detail = addSection(SectionKind::Detail, QStringLiteral("Detail"), 315);
    for (const Column& c : Columns) {
        Label* caption = ReportHeader->addLabel(QString::fromUtf8(c.label), QString::fromUtf8(c.caption),
                                                {c.left, 283, c.width, 284});
        caption->setForeColor(QColor(Qt::white));
        caption->setBackColor(QColor(128, 128, 128));
        Detail->addField(QString::fromUtf8(c.field), QString::fromUtf8(c.dataField),
                         {c.left, 0, c.width, 283}, QString::fromUtf8(c.format));
    }
    for (const char* name : {"Field2", "txtcampo8"})
        control<Field>(QString::fromUtf8(name))->setBackColor(QColor(Qt::white));
    local = control<Field>(QStringLiteral("local"));
    txtcampo18 = control<Field>(QStringLiteral("txtcampo18"));
    txtcampo20 = control<Field>(QStringLiteral("txtcampo20"));
    lintotal = control<Field>(QStringLiteral("lintotal"));
    DAODataControl1 = Detail->addDataControl(QStringLiteral("DAODataControl1"), {0, 0, 850, 283});
    DAODataControl1->setSource(QStringLiteral("SELECT * from tmpreport"));
    Detail->onFormat([this] { Detail_Format(); });

    addSection(SectionKind::PageFooter, QStringLiteral("PageFooter"), 0);
    addSection(SectionKind::ReportFooter, QStringLiteral("ReportFooter"), 540);
}

void ActiveReport1::Detail_Format() {
    lintotal->setText(Variant(leadingNumber(*txtcampo18) * leadingNumber(*txtcampo20)).toString());
}

} // namespace velmarsh
