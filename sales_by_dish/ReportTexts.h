#pragma once

#include <QString>

namespace dorrindale {

// What the user chose in the parameters window, as the report builder reads it.
struct Choice {
    bool allProducts = false; // "Todos Incluyendo borrados": every product
    QString dishes;           // identifiers of the selected dishes joined by ","
    QString tag;              // the chosen shift's identifier ("" or "0" for none)
    double shiftNumber = 0;   // the chosen shift's number
    QString apertura;         // its opening and closing texts
    QString cierre;
    double desde = 0; // the range of days (date serials)
    double hasta = 0;
    bool categorizacion = false; // leave out the sales of letter 'X'

    // Whether a shift is chosen (the tag's leading number is not 0).
    bool shift() const;
};

// The texts the report builder forms from a choice, in the dialect of gDB's database kind.
struct ReportTexts {
    QString productFilter;
    QString periodFilter;       // product filter and shift or date condition, for the main query
    QString observationsFilter; // shift or date condition of the observations query
    QString title;              // the report's period line
    QString mainQuery;          // sales per day, hour and dish
    QString discountQuery;      // discount lines per sale date
    QString observationsQuery;  // options charged

    // Whether the product filter can select anything: "Todos" or at least one dish.
    bool hasProducts = true;
};

ReportTexts reportTexts(const Choice& choice);

// The statement that creates the SQL Server function [dbo].[FirstWord].
QString firstWordFunction();

} // namespace dorrindale
