#include "DorrindaleTest.h"

#include "../reports/PageQueries.h"
#include "../reports/Readers.h"
#include "../reports/SpreadsheetCheck.h"

#include "framework/ProgramDescription.h"
#include "framework/clsDataBase.h"
#include "reports/PreviewWindow.h"
#include "runtime/DateSerial.h"
#include "sales_by_dish/Dorrindale.h"
#include "sales_by_dish/frmSeleccionaTurno.h"
#include "support/LocaleScope.h"
#include "support/Screenshot.h"
#include "support/UserInput.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

using dorrindale::arDorrindale;
using dorrindale::frmParametros;
using posdb::day;
using posdb::time;

// 1 December: sale 1 (A) and a credit note of shift 101, sale 3 (X) of shift 102, with
// their discounts and the options charged on their lines.
class DorrindaleReportTest : public DorrindaleTest {
protected:
    void SetUp() override {
        DorrindaleTest::SetUp();
        fx.addLine(1, "Muzzarella", 1, 450, {{"HORA", time(12, 50)}});
        fx.addLine(1, "Envío", 1, 300, {{"HORA", time(12, 15)}, {"idproducto", -5}});
        fx.addLine(1, "Flan", 1, 300, {{"HORA", time(12, 20)}, {"idproducto", 30}});
        fx.addLine(1, "Oculto", 1, 100, {{"noimprimir", 1}});
        fx.addLine(1, "Descuento", 1, -100, {{"HORA", time(12, 30)}, {"idproducto", -7}});
        fx.addLine(3, "Descuento", 1, -50, {{"HORA", time(20, 10)}, {"idproducto", -7}});
        const qint64 credit = fx.addSale(1, day(2026, 12, 1), {{"TIPOFACTURA", "NCA"}});
        fx.addLine(credit, "Muzzarella", 1, 500, {{"HORA", time(12, 40)}});
        fx.insert(
            "VentasDetailObservaciones",
            {{"IDVENTADETAIL", 4}, {"idobservacion", 2}, {"PRECIO", 150.0}, {"concepto", "Extra queso"}});
        fx.insert("VentasDetailObservaciones",
                  {{"IDVENTADETAIL", 2}, {"idobservacion", 3}, {"PRECIO", 12.5}, {"concepto", "Limón"}});
    }

    arDorrindale& firstOfDecember(frmParametros& window) {
        return verListado(window, runtime::dateSerial(2026, 12, 1), runtime::dateSerial(2026, 12, 1));
    }
};

TEST_F(DorrindaleReportTest, ARangeOfDaysListsDishesPerHourWithDiscountsOptionsAndTotals) {
    LocaleScope locale("es_AR.UTF-8");
    frmParametros& window = logIn();
    window.chkTodos.setValue(1);
    arDorrindale& report = firstOfDecember(window);
    ASSERT_TRUE(framework::preview() && framework::preview()->isVisible());
    EXPECT_EQ(framework::preview()->windowTitle(), "Dorrindale");
    const reports::Pages& pages = report.pages();
    ASSERT_EQ(pages.size(), 1);
    const QStringList texts = allTexts(pages);

    EXPECT_EQ(report.params->text(), "Este informe comprende datos desde 1/12/2026 hasta 1/12/2026");
    // Every product, the inactive Flan and the fixed Envío included; voided sales, discount and
    // hidden lines left out; the credit note takes one Muzzarella of 12 h back; two prices, two rows.
    for (const char* dish : {"Agua", "Envío", "Flan"})
        EXPECT_EQ(countText(pages, dish), 1) << dish;
    EXPECT_EQ(countText(pages, "Muzzarella"), 3);
    EXPECT_EQ(countText(pages, "Napolitana"), 0);
    EXPECT_EQ(countText(pages, "Oculto"), 0);
    EXPECT_EQ(countText(pages, "Descuento"), 0);
    EXPECT_EQ(countText(pages, "1-dic"), 6);
    EXPECT_EQ(countText(pages, "12"), 6 + 5); // the month column and the hours of noon
    EXPECT_EQ(countText(pages, "450"), 2);
    EXPECT_EQ(countText(pages, "1.000"), 1); // 20 h: 2 x 500

    // Totals over every row: 7 units, 3,050; discounts -150; total 2,900.
    EXPECT_EQ(report.Field7->text(), "7");
    EXPECT_EQ(report.Field8->text(), "3.050");
    EXPECT_EQ(report.vDesc->text(), "-150");
    EXPECT_EQ(report.SuperTotal->text(), "2.900");
    EXPECT_TRUE(texts.contains("-150"));
    EXPECT_TRUE(texts.contains("2.900"));

    // The sub-reports: one discount date; the options with their line totals.
    EXPECT_EQ(countText(pages, "1/12/2026"), 1);
    EXPECT_TRUE(texts.contains("Extra queso"));
    EXPECT_TRUE(texts.contains("300"));
    EXPECT_TRUE(texts.contains("Limón"));
    EXPECT_TRUE(texts.contains("12,5"));
    EXPECT_TRUE(texts.contains("Sin sal"));
    saveScreenshot(framework::preview(), QStringLiteral("dorrindale-report"));

    // A range that ends before it begins: nothing, and no discount.
    verListado(window, runtime::dateSerial(2026, 12, 2), runtime::dateSerial(2026, 12, 1));
    EXPECT_EQ(countText(report.pages(), "Muzzarella"), 0);
    EXPECT_EQ(report.vDesc->text(), "0");
    EXPECT_EQ(report.SuperTotal->text(), "0");
    EXPECT_TRUE(host.boxes.isEmpty());
}

TEST_F(DorrindaleReportTest, CategorisationLeavesOutLetterXButNotItsOptions) {
    LocaleScope locale("en_US.UTF-8");
    fx.exec("update usuarios set categorizacion = 1 where apodo = 'admin'");
    fx.addLine(1, "Descuento", 1, -0.6, {{"idproducto", -7}});
    frmParametros& window = logIn();
    window.chkTodos.setValue(1);
    arDorrindale& report = firstOfDecember(window);
    EXPECT_EQ(countText(report.pages(), "Muzzarella"), 2);
    EXPECT_EQ(report.Field8->text(), "2,050");
    EXPECT_EQ(report.vDesc->text(), "-101"); // -100.6, to a whole number
    EXPECT_EQ(report.SuperTotal->text(), "1,949");
    EXPECT_EQ(countText(report.pages(), "12/1/2026"), 1);
    const QStringList texts = allTexts(report.pages());
    EXPECT_TRUE(texts.contains("Extra queso"));
    EXPECT_TRUE(texts.contains("12.5"));
}

TEST_F(DorrindaleReportTest, WithoutTodosTheChosenDishesAndTheFixedProductsAreListed) {
    LocaleScope locale("es_AR.UTF-8");
    frmParametros& window = logIn();
    // Only Agua of the dishes: Envío (a fixed product) comes too; Flan (not listed) does not.
    for (int i = 2; i <= window.ArticulosLista.count(); ++i)
        window.ArticulosLista.setSelected(i, false);
    ASSERT_EQ(window.GetSelectedlv(window.ArticulosLista), "20");
    arDorrindale& report = firstOfDecember(window);
    const reports::Pages& pages = report.pages();
    EXPECT_EQ(countText(pages, "Agua"), 1);
    EXPECT_EQ(countText(pages, "Envío"), 1);
    EXPECT_EQ(countText(pages, "Flan"), 0);
    EXPECT_EQ(countText(pages, "Muzzarella"), 0);
    EXPECT_EQ(report.Field8->text(), "800");

    // No dish at all: no rows and no error; the discounts stay.
    window.ArticulosLista.setSelected(1, false);
    firstOfDecember(window);
    EXPECT_EQ(countText(report.pages(), "Agua"), 0);
    EXPECT_EQ(countText(report.pages(), "Envío"), 0);
    EXPECT_EQ(report.Field8->text(), "0");
    EXPECT_EQ(report.SuperTotal->text(), "-150");
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_FALSE(host.ended);
}

TEST_F(DorrindaleReportTest, AShiftChosenInTheChooserSetsThePeriodAndItsDiscounts) {
    LocaleScope locale("es_AR.UTF-8");
    frmParametros& window = logIn();
    window.chkTodos.setValue(1);
    // 1 to 2 December lists the shifts closed by the midnight that starts the 2nd, and the open one.
    QTimer::singleShot(0, [] {
        auto& chooser = forms::instance<dorrindale::frmSeleccionaTurno>();
        chooser.DTPicker1.setValue(day(2026, 12, 1));
        chooser.DTPicker2.setValue(day(2026, 12, 2));
        EXPECT_TRUE(user::click(chooser.cmdTurno.widget()));
        ASSERT_EQ(chooser.grdTurnos.rows(), 3); // turns 103 (still open) and 101
        EXPECT_EQ(chooser.grdTurnos.textMatrix(2, 1), "101");
        EXPECT_TRUE(user::clickCell(chooser.grdTurnos, 2, 1));
        EXPECT_TRUE(user::click(chooser.cmdOk.widget()));
    });
    EXPECT_TRUE(user::click(window.cmdTurno.widget()));
    EXPECT_EQ(window.cmdTurno.tag(), "1");
    EXPECT_FALSE(window.Frame1.visible());

    // The hidden dates say 3 to 4 December; the shift's sales are reported, its discounts too.
    arDorrindale& report = verListado(window);
    EXPECT_EQ(report.params->text(),
              "Este informe comprende datos del turno 101, desde 01/12/26 08:00 hasta 01/12/26 16:00");
    EXPECT_EQ(countText(report.pages(), "Muzzarella"), 2);
    EXPECT_EQ(report.Field8->text(), "2.050");
    EXPECT_EQ(report.vDesc->text(), "-100");
    EXPECT_EQ(report.SuperTotal->text(), "1.950");
    const QStringList texts = allTexts(report.pages());
    EXPECT_TRUE(texts.contains("Sin sal"));
    EXPECT_FALSE(texts.contains("Extra queso"));

    // "Salir" in a later call keeps the shift and the hidden dates.
    QTimer::singleShot(0, [] {
        EXPECT_TRUE(user::click(forms::instance<dorrindale::frmSeleccionaTurno>().cmdSalir.widget()));
    });
    EXPECT_TRUE(user::click(window.cmdTurno.widget()));
    EXPECT_EQ(window.cmdTurno.tag(), "1");
    EXPECT_FALSE(window.Frame1.visible());
}

TEST_F(DorrindaleReportTest, OnSqlServerEveryFailingStepIsPassedOver) {
    frmParametros& window = logIn();
    // The embedded engine rejects the SQL Server texts, as a lost connection would fail them.
    framework::gDB->isMSSQL = true;
    for (int build = 0; build < 2; ++build) {
        arDorrindale& report = firstOfDecember(window);
        EXPECT_EQ(report.vDesc->text(), "0");
    }
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_FALSE(host.ended);
    framework::gDB->isMSSQL = false;
}

TEST_F(DorrindaleReportTest, OnTheSqlServerKindTheReportIsTheAccessKindsAndItsFunctionIsCreatedOnce) {
    LocaleScope locale("es_AR.UTF-8");
    auto build = [this](int times) {
        restart();
        frmParametros& window = logIn();
        window.chkTodos.setValue(1);
        QStringList texts;
        for (int i = 0; i < times; ++i) {
            arDorrindale& report = firstOfDecember(window);
            texts = allTexts(report.pages()) << report.Field7->text() << report.Field8->text()
                                             << report.vDesc->text() << report.SuperTotal->text();
        }
        return texts;
    };
    const QStringList access = build(1);
    fx.useSqlServer();
    // The second build's CREATE FUNCTION fails, and the failure is passed over.
    const QStringList server = build(2);
    EXPECT_TRUE(framework::gDB->isMSSQL);
    EXPECT_TRUE(server.contains("2.900"));
    EXPECT_EQ(server, access);
    EXPECT_EQ(fx.rows("select name from tsql_functions", fx.sqlServer()).size(), 1);
    EXPECT_TRUE(host.boxes.isEmpty());
}

// Every cell of the spreadsheet shows what the preview shows (the month of "Mes", the day of
// the date), read back through LibreOffice.
TEST_F(DorrindaleReportTest, TheSpreadsheetShowsWhatThePreviewShows) {
    frmParametros& window = logIn();
    window.chkTodos.setValue(1);
    expectSpreadsheetShowsThePreview([&]() -> reports::Report& { return firstOfDecember(window); });
}

// On each kind, the dish list and the report's rows as its database orders and groups them:
// accented letters beside their base letter, ñ with n on Access and after n on SQL Server, case
// variants in one row, a trailing blank counted on Access alone; a line stored a breath before
// 20 h is hour 20 on Access (whole seconds) and 19 on SQL Server (truncated).
TEST_F(DorrindaleReportTest, DishesAreOrderedAndGroupedAsEachDatabaseDoes) {
    LocaleScope locale("es_AR.UTF-8");
    fx.insert("rubros", {{"IdR", 9}, {"descripcion", "Pastas"}, {"estado", 1}});
    int id = 90;
    for (const char* name : {"Ñoquis", "Ávila", "zapallo", "Nuez"})
        fx.insert("productos",
                  {{"Id", id++}, {"nombre", QString::fromUtf8(name)}, {"estado", 1}, {"idrubro", 9}});
    for (const char* name : {"Ñoquis", "ñoquis"})
        fx.addLine(1, QString::fromUtf8(name), 1, 800, {{"HORA", time(12, 10)}, {"idproducto", 90}});
    fx.addLine(1, "Flan ", 1, 300, {{"HORA", time(12, 20)}, {"idproducto", 30}});
    fx.addLine(1, "Tarde", 1, 70,
               {{"HORA", runtime::Variant::date(runtime::timeSerial(19, 59, 59) + 0.6 / 86400)},
                {"idproducto", 92}});
    auto build = [this] {
        restart();
        frmParametros& window = logIn();
        QStringList seen = names(window.ArticulosLista);
        window.chkTodos.setValue(1);
        const QStringList texts = allTexts(firstOfDecember(window).pages());
        for (int i = 0; i < texts.size(); ++i)
            if (texts[i].contains(QString::fromUtf8("oquis")) || texts[i].startsWith("Flan") ||
                texts[i] == "Tarde")
                seen << texts[i] + " " + texts[i + 1] + " " + texts[i + 2] + " " + texts[i + 3];
        return seen;
    };
    const QStringList access = build();
    fx.useSqlServer();
    const QStringList server = build();
    // The dish list, then each row of those dishes: name, hour, units, price.
    EXPECT_EQ(access.join(" / "),
              QString::fromUtf8("Agua / Ávila / Muzzarella / Napolitana / Ñoquis / Nuez / zapallo / "
                                "Flan 12 1 300 / Flan  12 1 300 / Ñoquis 12 2 800 / Tarde 20 1 70"));
    EXPECT_EQ(server.join(" / "),
              QString::fromUtf8("Agua / Ávila / Muzzarella / Napolitana / Nuez / Ñoquis / zapallo / "
                                "Flan 12 2 300 / Ñoquis 12 2 800 / Tarde 19 1 70"));
    EXPECT_TRUE(host.boxes.isEmpty());
}

TEST_F(DorrindaleReportTest, TheReportExportsToTheFourKinds) {
    LocaleScope locale("en_US.UTF-8");
    frmParametros& window = logIn();
    window.chkTodos.setValue(1);
    arDorrindale& report = firstOfDecember(window);

    QTemporaryDir dir;
    exportToTheFourKinds(report, dir, "platos");

    if (auto cells = readXls(dir.filePath("platos.xls"))) {
        EXPECT_TRUE(cells->contains("Dorrindale"));
        EXPECT_TRUE(cells->contains("Extra queso"));
    }
    if (auto text = runReader("pdftotext", {dir.filePath("platos.pdf"), "-"})) {
        EXPECT_TRUE(text->contains("Descuentos realizados:"));
        EXPECT_TRUE(text->contains("2,900"));
    }
    QFile txt(dir.filePath("platos.txt"));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(txt.readAll()).contains("Muzzarella"));
    if (auto doc = runReader("catdoc", {dir.filePath("platos.doc")})) {
        EXPECT_TRUE(doc->contains("Opcionales"));
    }
}
