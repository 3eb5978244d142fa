#pragma once

#include "reports/Report.h"

#include <QStringList>

// Rows of notes printed as a sub-report.
class NotesReport : public reports::Report {
public:
    NotesReport();
    reports::Section* Detail;
    reports::Field* nota;
    reports::Field* importe;
    reports::DataControl* dao;
};

// A layout that uses every feature of the engine: report, page and group headers and
// footers, a detail hidden for some rows, events that change texts and colours, a
// growing field, a grand-total summary and a sub-report with its own rows.
class SalesReport : public reports::Report {
public:
    SalesReport();

    reports::Section* ReportHeader;
    reports::Section* PageHeader;
    reports::Section* GroupHeader1;
    reports::Section* Detail;
    reports::Section* GroupFooter1;
    reports::Section* PageFooter;
    reports::Section* ReportFooter;

    reports::Field* params;
    reports::Field* grupo;
    reports::Field* primerItem;
    reports::Field* item;
    reports::Field* cantidad;
    reports::Field* precio;
    reports::Field* total;
    reports::Field* motivo;
    reports::Field* totalGrupo;
    reports::Field* sumaCantidad;
    reports::Field* sumaTotal;
    reports::SubReport* subNotas;
    reports::DataControl* dao;

    NotesReport notes;
    QStringList events;
    double groupSum = 0;
    double reportSum = 0;

    static QStringList columns();
    // A row: group, item, quantity, price, motive, kind ("H" rows are hidden).
    static reports::Row row(const QString& group, const QString& item, double quantity, double price,
                            const QString& motive = {}, const QString& kind = QStringLiteral("V"));

protected:
    void ActiveReport_ReportStart() override;
    void ActiveReport_ReportEnd() override;

private:
    void GroupHeader1_Format();
    void Detail_Format();
    void GroupFooter1_Format();
    void ReportFooter_BeforePrint();
};
