#include "QuenbrookTest.h"

#include "deleted_items/frmPListado.h"
#include "forms/Events.h"
#include "framework/GridHelpers.h"
#include "framework/ListingHelpers.h"
#include "framework/UserSettings.h"
#include "framework/clsDataBase.h"
#include "framework/frmSeleccionaTurno.h"
#include "framework/funciones.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "support/LocaleScope.h"
#include "support/Screenshot.h"
#include "support/UserInput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QTimer>

using namespace framework;
using namespace quenbrook;

using posdb::day;
using posdb::time;
using runtime::Variant;

namespace {

QStringList rowCells(forms::Grid& grid, int row) {
    QStringList cells;
    for (int c = 0; c < grid.cols(); ++c)
        cells << grid.textMatrix(row, c);
    return cells;
}

QString titles(forms::Grid& grid) {
    QStringList cells;
    for (int c = 0; c < grid.cols(); ++c)
        cells << grid.textMatrix(0, c) + ';' + QString::number(grid.colWidth(c));
    return grid.rows() == 0 ? QString() : cells.join('|');
}

QStringList comboEntries(forms::ComboBox& combo) {
    QStringList entries;
    for (int i = 0; i < combo.listCount(); ++i)
        entries << combo.list(i) + '=' + QString::number(combo.itemData(i));
    return entries;
}

// The row of a grid whose column holds the text, -1 when none does.
int findRow(forms::Grid& grid, int col, const QString& text) {
    for (int r = 1; r < grid.rows(); ++r)
        if (grid.textMatrix(r, col) == text) return r;
    return -1;
}

} // namespace

class ListingTest : public QuenbrookEmptyTest {
protected:
    void SetUp() override {
        QuenbrookEmptyTest::SetUp();
        logIn();
    }

    frmPListado& open(const QString& mode) {
        QString name = mode;
        frmPListado& window = forms::instance<frmPListado>();
        EXPECT_FALSE(window.Listado(name));
        return window;
    }
    void verDatos(frmPListado& window) { EXPECT_TRUE(user::click(window.OKButton.widget())); }
};

TEST_F(ListingTest, HelpersOfTheListing) {
    struct Case {
        const char* pais;
        const char* rollo;
        const char* a;
        const char* b;
        const char* nca;
        const char* ncb;
    };
    const Case cases[] = {{"0", "0", "A", "B", "A", "B"},
                          {"1", "0", "eFactura", "eTicket", "NC eFactura", "NC eTicket"},
                          {"1", "1", "", "Factura", "", "N/Cred."},
                          {"2", "0", "", "", "", ""}};
    for (const Case& c : cases) {
        fx.exec("delete from REGISTRY");
        fx.setSetting("cmbPais", c.pais);
        GrabaSetting("chkUsaNroRollo", c.rollo);
        QStringList labels;
        for (const char* code : {"A", "B", "NCA", "NCB", "a", "C", "X"}) {
            QString tipo = QString::fromLatin1(code);
            labels << NombreComprobante(tipo, false);
        }
        EXPECT_EQ(labels, QStringList({c.a, c.b, c.nca, c.ncb, "X", "X", "X"})) << c.pais << c.rollo;
    }
    fx.exec("delete from REGISTRY");
    QString tipo = "N/C A";
    EXPECT_EQ(NombreComprobante(tipo, false), "A");
    EXPECT_EQ(tipo, "NCA");
    EXPECT_EQ(NombreComprobante(tipo, true), "N/C A");
    tipo = "B";
    EXPECT_EQ(NombreComprobante(tipo, true), "Factura B");
    tipo.clear();
    EXPECT_EQ(NombreComprobante(tipo, true), "");

    EXPECT_EQ(FmtHora(Variant::null()), "");
    EXPECT_EQ(FmtHora(time(7, 5)), "07:05");
    EXPECT_EQ(FmtHora(time(19, 30)), "19:30");
    EXPECT_EQ(NombreFPago(0), "Efectivo");
    EXPECT_EQ(NombreFPago(1), "Efectivo");
    EXPECT_EQ(NombreFPago(5), "Otros");
    EXPECT_EQ(NombreFPago(6), "");
    EXPECT_EQ(NombreFPago(-1), "");

    frmPListado& window = open("Cubiertos");
    QString s;
    EXPECT_EQ(window.hFecha2Mins(s), "");
    s = "23:59";
    EXPECT_EQ(window.hFecha2Mins(s), "1439");
    s = "1:30";
    EXPECT_EQ(window.hFecha2Mins(s), "90");
    EXPECT_EQ(s, "01:30");
    // The time is written and read with the regional time separator.
    LocaleScope finnish("fi_FI.UTF-8");
    s = "1:30";
    EXPECT_EQ(window.hFecha2Mins(s), "90");
    EXPECT_EQ(s, "01.30");
}

TEST_F(ListingTest, LlenaComboAppendsTheRowsAndItemdataVReadsTheSelection) {
    forms::ComboBox& combo = open("Cubiertos").cmbIVALetra;
    combo.clear();
    EXPECT_EQ(itemdataV(combo), -1);
    LlenaCombo("select idr, descripcion from rubros", combo);
    EXPECT_EQ(combo.listCount(), 0);
    EXPECT_EQ(combo.listIndex(), -1);
    for (const char* d : {"Pizzas", "Bebidas", "Postres", "Vinos"})
        fx.insert("rubros", {{"descripcion", d}, {"estado", 1}});
    combo.addItem("uno");
    combo.addItem("dos");
    combo.addItem("tres");
    combo.addItem("cuatro");
    combo.setListIndex(3);
    LlenaCombo("select idr + 100, descripcion from rubros where idr < 4 order by idr desc", combo);
    EXPECT_EQ(combo.listCount(), 7);
    EXPECT_EQ(comboEntries(combo).mid(4), QStringList({"Postres=103", "Bebidas=102", "Pizzas=101"}));
    EXPECT_EQ(combo.listIndex(), 0);
    EXPECT_EQ(itemdataV(combo), 0);

    // A Null identifier stops the filling at that row, with one error-log line.
    LlenaCombo("select iif(idr = 3, null, idr), descripcion from rubros order by idr desc", combo);
    EXPECT_EQ(combo.listCount(), 9);
    EXPECT_EQ(combo.list(8), "Postres");
    EXPECT_TRUE(
        errorLog().contains("Error 94 (Invalid use of Null) in procedure LlenaCombo of Módulo mFunciones"))
        << errorLog().toStdString();
}

TEST_F(ListingTest, EachModePreparesItsColumnsOptionsAndCaption) {
    fx.insert("rubros", {{"IdR", 4}, {"descripcion", "Pizzas"}, {"estado", 1}});
    fx.insert("rubros", {{"IdR", 2}, {"descripcion", "Bebidas"}, {"estado", 1}});
    fx.insert("rubros", {{"IdR", 3}, {"descripcion", "Postres"}, {"estado", 0}});
    fx.insert("clientes", {{"Id", 5}, {"nombres", "Zoe"}, {"estado", 1}});
    fx.insert("clientes", {{"Id", 6}, {"nombres", "Ana"}, {"estado", 1}});
    const QStringList rubros{"- Todos -=-1", "Bebidas=2", "Pizzas=4"};
    struct Case {
        const char* mode;
        const char* caption;
        const char* frames;
        const char* firstTitles;
        QStringList combo;
        bool detail;
    };
    // On a first opening "Detallado" is not selected yet when the columns are laid out: InfVentas and
    // CajaMayor start with their other columns.
    const Case cases[] = {
        {"IVAVta", "Diario de Ventas", "fraTipoFactura", "Fecha;1600|Tipo;1200|Nro;600", rubros, false},
        {"Cubiertos", "Form1", "", "ID;0|Sector;4200|Cantidad;4200", rubros, false},
        {"CTACTE",
         "Movimientos de Cta.Cte.",
         "Rubro",
         "ID;0|Nombre;3000|Fecha;1500",
         {"- Todos -=-1", "Ana=6", "Zoe=5"},
         false},
        {"stockreponer", "Informe de Stock a Reponer", "Rubro frmStockReponer",
         "Codigo;1000|Rubro;1500|Producto;2500", rubros, false},
        {"RankingPlatos", "Form1", "", "Codigo;1500|Rubro;3000|Producto;3200", rubros, false},
        {"Productos", "Form1", "", "Codigo;1500|Rubro;1500|Producto;3200", rubros, false},
        {"ProductosRubros", "Form1", "", "Codigo;1500|Rubro;1500|Producto;4200", rubros, false},
        {"Quenbrook",
         "Auditoría de Quenbrook",
         "Rubro",
         "Id;0|Tipo;0|Fecha F.;1000",
         {"Todos=0", "Elim. despues de Ticket=0"},
         false},
        {"InfVentas", "Informe de Ventas", "fraFiltros3 fraOrden3 fraTipoFactura",
         "id;0|Fecha;2500|Cantidad;2500", rubros, true},
        {"Descuentos", "Form1", "", "IDVENTA;0|Fecha;1000|Hora;600", rubros, true},
        {"Auditoria", "Form1", "", "id;0|Fecha;1500|Tur.;500", rubros, false},
        {"Anulaciones", "Form1", "", "id;0|Fecha;1500|Hora;1500", rubros, false},
        {"CajaMayor", "Form1", "", "id;0|Ultima Modificacion;2500", rubros, false},
        {"infventas", "Form1", "", "", rubros, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        frmPListado& window = open(c.mode);
        EXPECT_TRUE(window.visible());
        EXPECT_EQ(window.caption(), c.caption);
        QStringList frames;
        for (forms::Frame* f : {&window.Rubro, &window.fraTipoFactura, &window.fraOrden3, &window.fraFiltros3,
                                &window.frmStockReponer, &window.frmLisIVaVtas})
            if (f->visible()) frames << f->name();
        frames.sort();
        EXPECT_EQ(frames.join(' '), c.frames);
        EXPECT_TRUE(titles(window.g).startsWith(c.firstTitles)) << titles(window.g).toStdString();
        EXPECT_EQ(comboEntries(window.cmbRubros), c.combo);
        EXPECT_EQ(window.cmdTurno.tag(), "-1");
        EXPECT_EQ(window.chkFacA.caption(), "A");
        EXPECT_EQ(window.cmbIVALetra.listCount(), 5);
        EXPECT_DOUBLE_EQ(window.dtdesde.value(), runtime::dateSerial(2026, 12, 3));
        EXPECT_EQ(runtime::Format(Variant::date(window.hhasta.value()), "HH:NN"), "23:59");
        // Only two modes have data: every other ends with the no-data message.
        verDatos(window);
        EXPECT_EQ(window.lblInfo.caption(), "No se encontraron datos con los parametros ingresados.");
        EXPECT_TRUE(window.picGN.visible());
        EXPECT_EQ(window.GD.visible(), c.detail);
        EXPECT_EQ(window.g.height(), c.detail ? 3660 : 6720);
        window.unload();
    }

    // InfVentas opens on "Desde último cierre" with the period disabled; "Fechas" enables it.
    frmPListado& window = open("InfVentas");
    EXPECT_TRUE(window.optF1.value());
    EXPECT_FALSE(window.dtdesde.enabled());
    EXPECT_FALSE(window.hhasta.enabled());
    EXPECT_FALSE(window.cmdReset.enabled());
    EXPECT_FALSE(window.cmbRubros.enabled());
    EXPECT_EQ(window.cmbOrden3.listCount(), 6);
    EXPECT_EQ(window.cmbOrden3.list(0), "Fecha, Hora Desc");
    EXPECT_EQ(window.chkSalon.value() + window.chkMostrador.value() + window.chkDelivery.value(), 3);
    EXPECT_TRUE(user::click(window.optF0.widget()));
    EXPECT_TRUE(window.dtdesde.enabled());
    EXPECT_TRUE(window.cmdReset.enabled());
    // A name that matches no mode on the loaded window keeps the columns and the caption.
    open("Otro");
    EXPECT_EQ(window.caption(), "Informe de Ventas");
    EXPECT_TRUE(titles(window.g).startsWith("id;0|Fecha;2500"));
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_TRUE(errorLog().isEmpty()) << errorLog().toStdString();
}

TEST_F(ListingTest, DeletedProductsListing) {
    const qint64 s1 = fx.addShift(201, day(2026, 12, 1), time(8, 0));
    const qint64 s2 = fx.addShift(202, day(2026, 12, 2), time(8, 0));
    const qint64 v1 = fx.addSale(s1, day(2026, 12, 1), {{"TIPOFACTURA", "A"}});
    const qint64 v2 = fx.addSale(s2, day(2026, 12, 2));
    const qint64 napolitana = fx.addDeletion(v1, "Napolitana", 2, 600, {{"HORA", time(11, 50)}, {"mozo", 7}});
    fx.addDeletion(
        v1, "Flan", 1, 250.5,
        {{"HORA", time(12, 0)}, {"PREPARACION", Variant::null()}, {"DEMORA", Variant::null()}, {"mozo", 0}});
    fx.addDeletion(v1, "Agua", 1.5, 100,
                   {{"HORA", time(12, 1)}, {"PREPARACION", time(0, 2)}, {"DEMORA", time(1, 30)}});
    fx.exec("update Quenbrook set mozo = 'abc' where producto = 'Agua'");
    fx.addDeletion(v1, "Motivo", 0, 0, {{"TIPO", "ITEM"}});
    fx.addDeletion(v1, "Sin tipo", 1, 1, {{"TIPO", Variant::null()}});
    fx.addDeletion(v1, "Vino", 1, 900, {{"caja", 77}});
    fx.addDeletion(999, "Coca", 1, 300,
                   {{"caja", Variant(std::int64_t(s1))}, {"Fecha", day(2026, 12, 1)}, {"HORA", time(13, 0)}});
    fx.addDeletion(v2, "Cafe", 1, 200);

    frmPListado& window = open("Quenbrook");
    window.dtdesde.setValue(day(2026, 12, 1));
    window.dthasta.setValue(day(2026, 12, 1));
    forms::Grid& g = window.g;
    for (const char* locale : {"es_AR.UTF-8", "en_US.UTF-8"}) {
        LocaleScope scope(locale);
        const QString sep = locale[0] == 'e' && locale[1] == 's' ? "," : ".";
        verDatos(window);
        ASSERT_EQ(g.rows(), 5) << locale;
        EXPECT_EQ(window.mFilasEncontradas, 4);
        EXPECT_FALSE(window.picGN.visible());
        EXPECT_FALSE(window.GD.visible());
        // The deletion without its sale comes first, with empty ticket cells.
        EXPECT_EQ(rowCells(g, 1).mid(2, 11).join('|'),
                  "|2026/12/01|1|||1|Coca|300" + sep + "00|300" + sep + "00|13:00|");
        const int nap = findRow(g, 8, "Napolitana");
        ASSERT_GT(nap, 0);
        EXPECT_EQ(rowCells(g, nap).join('|'),
                  QString::number(napolitana) +
                      "|PRODUCTO|2026/12/01|2026/12/01|1|A|00000100|2|Napolitana|600" + sep + "00|1200" +
                      sep + "00|11:50|12:00|5|0|ana|7|PRODUCTO - Error");
        const int flan = findRow(g, 8, "Flan");
        const int agua = findRow(g, 8, "Agua");
        EXPECT_EQ(rowCells(g, flan).mid(9, 8).join('|'),
                  "250" + sep + "50|250" + sep + "50|12:00|12:00|||ana|");
        EXPECT_EQ(rowCells(g, agua).mid(7, 10).join('|'),
                  "1" + sep + "5|Agua|100" + sep + "00|150" + sep + "00|12:01|12:00|2|90|ana|");
        // Preparation above the delay: yellow; not above (empty ones are equal): red.
        EXPECT_EQ(g.cellBackColor(nap, 11), 2741246);
        EXPECT_EQ(g.cellBackColor(flan, 11), 255);
        EXPECT_EQ(g.cellBackColor(agua, 11), 255);
        for (int r = 1; r < g.rows(); ++r) {
            EXPECT_TRUE(g.cellFontBold(r, 9) && g.cellFontBold(r, 11));
            EXPECT_FALSE(g.cellFontBold(r, 10));
        }
        if (sep == ",") {
            EXPECT_FALSE(saveScreenshot(window.window(), "quenbrook-listing-deleted").isEmpty());
        }
    }

    // A right click on a title shows the popup menu and sorts; a left click sorts the other way;
    // a click on a data row does not sort.
    bool popupShown = false;
    QTimer::singleShot(0, [&] {
        popupShown = window.mnuPopup.menu()->isVisible();
        window.mnuPopup.menu()->close();
    });
    EXPECT_TRUE(user::clickCell(g, 0, 8, Qt::RightButton));
    EXPECT_TRUE(popupShown);
    EXPECT_EQ(g.textMatrix(0, 8), "< Producto");
    EXPECT_EQ(g.textMatrix(1, 8), "Agua");
    EXPECT_TRUE(user::clickCell(g, 0, 8));
    EXPECT_EQ(g.textMatrix(0, 8), "> Producto");
    EXPECT_EQ(g.textMatrix(1, 8), "Napolitana");
    EXPECT_TRUE(user::clickCell(g, 2, 8));
    EXPECT_EQ(g.textMatrix(0, 8), "> Producto");
    EXPECT_EQ(g.textMatrix(1, 8), "Napolitana");

    // Only deletions after the ticket: the one at the ticket's own minute and the one without a sale stay
    // out.
    window.cmbRubros.setListIndex(1);
    verDatos(window);
    ASSERT_EQ(g.rows(), 2);
    EXPECT_EQ(g.textMatrix(1, 8), "Agua");
    window.cmbRubros.setListIndex(0);

    // A chosen shift wins over the dates.
    window.cmdTurno.setTag(QString::number(s2));
    verDatos(window);
    ASSERT_EQ(g.rows(), 2);
    EXPECT_EQ(g.textMatrix(1, 8), "Cafe");

    // Nothing found: the titles and one empty row, and the message.
    window.cmdTurno.setTag("-1");
    window.dtdesde.setValue(day(2026, 12, 5));
    window.dthasta.setValue(day(2026, 12, 5));
    verDatos(window);
    EXPECT_EQ(g.rows(), 2);
    EXPECT_EQ(rowCells(g, 1).join(""), "");
    EXPECT_EQ(window.lblInfo.caption(), "No se encontraron datos con los parametros ingresados.");
    EXPECT_TRUE(window.picGN.visible());

    // A shift that is no number ends the listing in its trap.
    window.cmdTurno.setTag("x");
    verDatos(window);
    EXPECT_TRUE(
        errorLog().contains("Error 13 (Type mismatch) in procedure Quenbrook of Formulario frmPListado"))
        << errorLog().toStdString();
    EXPECT_TRUE(host.boxes.isEmpty());
}

TEST_F(ListingTest, SalesListingWithTheDetailOfTheSaleUnderTheCursor) {
    LocaleScope locale("es_AR.UTF-8");
    fx.insert("empleados", {{"Id", 1}, {"numero", 7}, {"APELLIDOS", "Gomez"}, {"NOMBRES", "Juan"}});
    const qint64 s1 = fx.addShift(201, day(2026, 12, 1), time(8, 0));
    const qint64 v1 = fx.addSale(s1, day(2026, 12, 1),
                                 {{"TIPOFACTURA", "A"},
                                  {"NUMEROTICKET", "00001234"},
                                  {"NUMEROSUC", 0},
                                  {"total", 1500.0},
                                  {"tmesa", 2},
                                  {"smesa", "15"},
                                  {"apellidos", "Perez"},
                                  {"nombres", "Maria"},
                                  {"tipo", 3}});
    fx.addLine(v1, "Muzzarella", 2, 500, {{"HORA", time(12, 10)}, {"Comentario", "Sin sal"}});
    fx.addLine(v1, "Agua", 1, 500, {{"HORA", time(12, 30)}});
    fx.addLine(v1, "Pan", 1, 100, {{"HORA", Variant::null()}, {"idmozo", 9}});
    fx.addDeletion(v1, "Napolitana", 1, 600, {{"HORA", time(11, 55)}});
    const qint64 voided = fx.addSale(s1, day(2026, 12, 1),
                                     {{"estado", 3},
                                      {"total", 600.0},
                                      {"SF_hora", time(13, 0)},
                                      {"tmesa", Variant::null()},
                                      {"smesa", "4"}});
    fx.addDeletion(voided, "Flan", 1, 600);
    fx.addSale(s1, day(2026, 12, 1), {{"total", 999.0}, {"SF_hora", time(12, 45)}}); // nothing deleted
    const qint64 x =
        fx.addSale(s1, day(2026, 12, 1), {{"TIPOFACTURA", "X"}, {"total", 100.0}, {"SF_hora", time(14, 0)}});
    fx.addDeletion(x, "Cafe", 1, 100);
    const qint64 late = fx.addSale(s1, day(2026, 12, 1), {{"total", 50.0}, {"SF_hora", time(23, 30)}});
    fx.addDeletion(late, "Cafe", 1, 50);

    frmPListado& window = open("InfVentas");
    forms::Grid& g = window.g;
    // Opened on "Desde último cierre" without a shift: nothing qualifies, the totals row shows 0.
    verDatos(window);
    ASSERT_EQ(g.rows(), 2);
    EXPECT_EQ(g.textMatrix(1, 6), "==TOTAL==");
    EXPECT_EQ(g.textMatrix(1, 7), "0,00");
    EXPECT_EQ(window.lblInfo.caption(), "No se encontraron datos con los parametros ingresados.");

    EXPECT_TRUE(user::click(window.optF0.widget()));
    window.dtdesde.setValue(day(2026, 12, 1));
    window.dthasta.setValue(day(2026, 12, 1));
    verDatos(window);
    ASSERT_EQ(g.rows(), 6);
    EXPECT_EQ(window.mFilasEncontradas, 4);
    EXPECT_FALSE(window.picGN.visible());
    EXPECT_TRUE(window.GD.visible());
    EXPECT_EQ(g.height(), 3660);
    const QStringList first = rowCells(g, 1);
    EXPECT_EQ(first[0], QString::number(v1));
    EXPECT_EQ(QStringList(first.mid(1, 3)).join('|'), "01/12/26|12:00|R - 15");
    EXPECT_EQ(QStringList(first.mid(6)).join('|'), "A 0-00001234|1500,00|Perez Maria|7|Gomez Juan|Tarjeta");
    EXPECT_EQ(g.textMatrix(2, 3), "4");
    EXPECT_EQ(g.textMatrix(2, 6), "B 1-00000100");
    EXPECT_EQ(g.textMatrix(2, 7), "Anulado");
    EXPECT_EQ(g.textMatrix(3, 3), "M - 1");
    EXPECT_EQ(g.textMatrix(3, 6), "X 1-00000100");
    EXPECT_EQ(g.textMatrix(3, 11), "Efectivo");
    EXPECT_EQ(g.textMatrix(4, 2), "23:30");
    EXPECT_EQ(
        rowCells(g, 5).join('|'),
        "0|==============|==============|==============|==============|==============|==TOTAL==|1650,00||||");

    // The detail of the first sale: its lines and its deleted product, by time.
    EXPECT_TRUE(user::clickCell(g, 1, 2));
    forms::Grid& GD = window.GD;
    ASSERT_EQ(GD.rows(), 5);
    EXPECT_EQ(titles(GD), "ID;0|Hora Adicion;1200|Cant;1200|Detalle;4200|PUni;1200|PTotal;1200|Mozo;2000");
    // A line without a time comes first; one without a waiter has none.
    EXPECT_EQ(QStringList(rowCells(GD, 1).mid(1)).join('|'), "--:--|1|Pan |100,00|100,00|");
    EXPECT_EQ(QStringList(rowCells(GD, 2).mid(1)).join('|'), "11:55|1|Napolitana|600,00|600,00|ana");
    EXPECT_EQ(QStringList(rowCells(GD, 3).mid(1)).join('|'),
              "12:10|2|Muzzarella Sin sal|500,00|1000,00|Juan");
    EXPECT_EQ(QStringList(rowCells(GD, 4).mid(1)).join('|'), "12:30|1|Agua |500,00|500,00|Juan");
    EXPECT_FALSE(saveScreenshot(window.window(), "quenbrook-listing-sales").isEmpty());
    // The totals row reads as sale 0: the header and one empty row.
    EXPECT_TRUE(user::clickCell(g, 5, 2));
    EXPECT_EQ(GD.rows(), 2);
    EXPECT_EQ(rowCells(GD, 1).join(""), "");

    // Hours across midnight, and only the letter X.
    window.hdesde.setValue(Variant("20:00"));
    window.hhasta.setValue(Variant("02:00"));
    verDatos(window);
    ASSERT_EQ(g.rows(), 3);
    EXPECT_EQ(g.textMatrix(1, 0), QString::number(late));
    EXPECT_TRUE(user::click(window.cmdReset.widget()));
    window.chkFacA.setValue(0);
    window.chkFacB.setValue(0);
    verDatos(window);
    ASSERT_EQ(g.rows(), 3);
    EXPECT_EQ(g.textMatrix(1, 0), QString::number(x));
    window.chkFacX.setValue(0);
    verDatos(window);
    EXPECT_EQ(g.rows(), 6);

    // The summary: its columns, no detail, and a click leaves the detail grid alone.
    EXPECT_TRUE(user::clickCell(g, 1, 2));
    ASSERT_EQ(GD.rows(), 5);
    EXPECT_TRUE(user::click(window.opt3_1.widget()));
    verDatos(window);
    EXPECT_FALSE(window.GD.visible());
    EXPECT_EQ(g.height(), 6720);
    EXPECT_TRUE(titles(g).startsWith("id;0|Fecha;2500|Cantidad;2500|Detalle;2500|Total;2500"));
    EXPECT_EQ(rowCells(g, g.rows() - 1).join('|'), "0|==============|==============|==TOTAL==|2649,00|");
    EXPECT_TRUE(user::clickCell(g, 1, 2));
    EXPECT_EQ(GD.rows(), 5);
    EXPECT_TRUE(errorLog().isEmpty()) << errorLog().toStdString();
}

TEST_F(ListingTest, QueryTextsOfBothDatabaseKinds) {
    frmPListado& window = open("InfVentas");
    const QString select =
        " SELECT empleados.numero, ventas.Idventa, ventas.fecha, ventas.SF_hora, ventas.SF_fecha, "
        "ventas.horaapertura, "
        "ventas.horacierre, ventas.TicketControl, ventas.TIPOFACTURA, ventas.NUMEROSUC, ventas.NUMEROTICKET, "
        "ventas.apellidos & ' ' & ventas.nombres AS CLIENTE, EMPLEADOS.APELLIDOS & ' ' & EMPLEADOS.NOMBRES "
        "AS "
        "MOZO_REP, ventas.total, ventas.concepto, usuarios.apodo, ventas.subtotal, ventas.descuento, "
        "ventas.montopagado, ventas.tipo, ventas.estado, ventas.dinerodevuelto, ventas.moto, ventas.interno, "
        "ventas.diraltura, ventas.dirpiso, ventas.direntrea, ventas.direntreb, ventas.direccion, "
        "ventas.localidad, "
        "ventas.codigopostal, ventas.notacliente, ventas.notarepartidor, ventas.teluno, ventas.provincia, "
        "ventas.mediopago, ventas.demoratotal, ventas.PagoL2, ventas.PagoL2T, ventas.HoraRecibido, "
        "ventas.HoraPedido, "
        "ventas.smesa AS MESA, ventas.tmesa AS TIPOMESA, ventas.tipo  FROM ((ventas LEFT JOIN clientes ON "
        "ventas.idcliente = clientes.Id) LEFT JOIN empleados ON ventas.idmozo = empleados.Id) LEFT JOIN "
        "usuarios ON "
        "ventas.idusuario = usuarios.Id  Where  val(ventas.NUMEROTICKET)>=0 and not isnull(numeroticket) ";
    const QString filters =
        " and ( VENTAS.TIPOFACTURA = 'A' OR VENTAS.TIPOFACTURA = 'NCA' or  VENTAS.TIPOFACTURA = "
        "'B' OR VENTAS.TIPOFACTURA = 'NCB' or  VENTAS.TIPOFACTURA = 'X' )  and ( ventas.tmesa = 2  "
        "or  ventas.tmesa = 1  or  (ventas.tmesa = 0 or isnull(ventas.tmesa))) ";
    const QString order = " ORDER BY ventas.SF_fecha ASC , ventas.SF_hora ASC; ";
    EXPECT_EQ(window.infVentasQuery(), select + " and ventas.idsesion = -1" + filters + order);

    window.optF0.setValue(true);
    window.dtdesde.setValue(day(2026, 12, 1));
    window.dthasta.setValue(day(2026, 12, 2));
    struct Case {
        bool mssql;
        const char* desde;
        const char* hasta;
        const char* period;
    };
    const Case cases[] = {
        {false, "00:00", "23:59", " and ventas.fechacaja between #2026-12-01# and #2026-12-02# "},
        {true, "00:00", "23:59", " and ventas.fechacaja between '20261201' and '20261202' "},
        {false, "08:00", "08:00",
         " and ventas.fechacaja between #2026-12-01# and #2026-12-02# and ventas.sf_hora between #08:00:00# "
         "and "
         "#08:00:00# "},
        {true, "20:00", "02:00",
         " and ventas.fechacaja between '20261201' and '20261202' and (ventas.sf_hora between '20:00:00' and "
         "#23:59:59# or ventas.sf_hora between #00:00:00# and '02:00:00')  "},
    };
    for (const Case& c : cases) {
        gDB->isMSSQL = c.mssql;
        window.hdesde.setValue(Variant(c.desde));
        window.hhasta.setValue(Variant(c.hasta));
        EXPECT_EQ(window.infVentasQuery(), select + c.period + filters + order) << c.desde << c.mssql;
    }
    // The summary, one letter, one table kind, no order.
    window.opt3_1.setValue(true);
    window.chkFacA.setValue(0);
    window.chkFacX.setValue(0);
    window.chkSalon.setValue(0);
    window.chkMostrador.setValue(0);
    window.cmbOrden3.setListIndex(2);
    window.cmdTurno.setTag("12");
    EXPECT_EQ(
        window.infVentasQuery(),
        " SELECT ventas.fecha, Sum(ventas.total) AS SumaDetotal, count(ventas.total) as cuenta, "
        "ventas.estado, "
        "ventas.tipo, ventas.tmesa as mesatipo  FROM ((ventas LEFT JOIN clientes ON ventas.idcliente = "
        "clientes.Id) LEFT JOIN empleados ON ventas.idmozo = empleados.Id) LEFT JOIN usuarios ON "
        "ventas.idusuario = usuarios.Id  where  val(ventas.NUMEROTICKET)>=0 and ventas.estado <> 3 and not "
        "isnull(numeroticket) and ventas.idsesion = 12 and ( VENTAS.TIPOFACTURA = 'B' OR VENTAS.TIPOFACTURA "
        "= "
        "'NCB')  and ( ventas.tmesa = 2 )  GROUP BY ventas.fecha, ventas.estado, ventas.tipo, ventas.tmesa ");

    const QString deleted =
        "SELECT Quenbrook.*, sesion.NROTURNO, ventas.TIPOFACTURA AS Doc, ventas.NUMEROTICKET as "
        "NroFact, ventas.sf_fecha, ventas.sf_hora FROM (sesion INNER JOIN Quenbrook ON "
        "sesion.Idsesion = Quenbrook.caja) LEFT JOIN ventas ON Quenbrook.Idventa = ventas.Idventa ";
    const QString tail = " and Quenbrook.tipo <> 'ITEM'  order by sf_fecha, sf_hora ";
    EXPECT_EQ(window.quenbrookQuery(), deleted + " WHERE Quenbrook.caja = 12" + tail);
    window.cmdTurno.setTag("-1");
    EXPECT_EQ(window.quenbrookQuery(),
              deleted + " WHERE Quenbrook.fecha between '20261201' and '20261202' " + tail);
    gDB->isMSSQL = false;
    EXPECT_EQ(window.quenbrookQuery(),
              deleted + " WHERE Quenbrook.fecha between #2026-12-01# and #2026-12-02# " + tail);
}

TEST_F(ListingTest, ShiftChoiceSetsThePeriodAndDisablesTheDatesAndTimes) {
    fx.addShift(201, day(2026, 12, 1), time(8, 0), {{"Idsesion", 41}});
    fx.addShift(200, day(2026, 11, 30), time(22, 0),
                {{"Idsesion", 40}, {"fechacierre", day(2026, 12, 1)}, {"horacierre", time(6, 30)}});
    frmPListado& window = open("Quenbrook");
    // Searches from 30/11 and leaves with the first shift listed (the newest) or the given one.
    auto choose = [&](bool accept, const QString& id = {}) {
        QTimer::singleShot(0, [accept, id] {
            frmSeleccionaTurno& chooser = forms::instance<frmSeleccionaTurno>();
            chooser.DTPicker1.setValue(day(2026, 11, 30));
            EXPECT_TRUE(user::click(chooser.cmdTurno.widget()));
            if (!id.isEmpty()) chooser.grdTurnos.setRow(findRow(chooser.grdTurnos, 0, id));
            EXPECT_TRUE(user::click((accept ? chooser.cmdOk : chooser.cmdSalir).widget()));
        });
        EXPECT_TRUE(user::click(window.cmdTurno.widget()));
    };
    choose(false);
    EXPECT_EQ(window.cmdTurno.tag(), "-1");
    EXPECT_TRUE(window.Frame1.enabled());
    EXPECT_FALSE(window.lblAperturaTurno.visible());

    // The shift is still open: from its opening day to tomorrow.
    choose(true);
    EXPECT_EQ(window.cmdTurno.tag(), "41");
    EXPECT_FALSE(window.Frame1.enabled());
    EXPECT_FALSE(window.Frame_0.enabled());
    EXPECT_EQ(window.lblAperturaTurno.caption(),
              FmtFechaHora(Variant::date(runtime::dateSerial(2026, 12, 1) + runtime::timeSerial(8, 0, 0))));
    EXPECT_EQ(window.lblCierreTurno.caption(), "");
    EXPECT_DOUBLE_EQ(runtime::datePart(window.dtdesde.value()), runtime::dateSerial(2026, 12, 1));
    EXPECT_DOUBLE_EQ(runtime::datePart(window.dthasta.value()), runtime::dateSerial(2026, 12, 4));
    choose(false);
    EXPECT_EQ(window.cmdTurno.tag(), "41");

    // A closed shift, its texts written with the regional separators and read back alike.
    const struct {
        const char* locale;
        const char* apertura;
        const char* cierre;
    } regional[] = {{"es_AR.UTF-8", "30/11/26 22:00", "01/12/26 06:30"},
                    {"es_CL.UTF-8", "30-11-26 22:00", "01-12-26 06:30"},
                    {"de_DE.UTF-8", "30.11.26 22:00", "01.12.26 06:30"}};
    for (const auto& r : regional) {
        LocaleScope scope(r.locale);
        window.dtdesde.setValue(day(2026, 1, 1));
        choose(true, "40");
        EXPECT_EQ(window.cmdTurno.tag(), "40") << r.locale;
        EXPECT_EQ(window.lblAperturaTurno.caption(), r.apertura);
        EXPECT_EQ(window.lblCierreTurno.caption(), r.cierre);
        EXPECT_DOUBLE_EQ(window.dtdesde.value(),
                         runtime::dateSerial(2026, 11, 30) + runtime::timeSerial(22, 0, 0))
            << r.locale;
        EXPECT_DOUBLE_EQ(runtime::datePart(window.dthasta.value()), runtime::dateSerial(2026, 12, 1))
            << r.locale;
    }

    // A later opening keeps the shift; the times are reset also while disabled.
    window.hhasta.setValue(Variant("10:00"));
    open("Quenbrook");
    EXPECT_EQ(window.cmdTurno.tag(), "40");
    EXPECT_EQ(runtime::Format(Variant::date(window.hhasta.value()), "HH:NN"), "23:59");
    // Closing and opening again starts without a shift.
    EXPECT_TRUE(user::click(window.cancelButton.widget()));
    EXPECT_FALSE(forms::isLoaded<frmPListado>());
    EXPECT_EQ(open("Quenbrook").cmdTurno.tag(), "-1");
}

TEST_F(ListingTest, TheReprintTimerShowsTheDataOnce) {
    frmPListado& window = open("Cubiertos");
    EXPECT_FALSE(window.tmrReimprimir.enabled());
    EXPECT_EQ(window.tmrReimprimir.interval(), 10000);
    window.tmrReimprimir.setInterval(10);
    window.tmrReimprimir.setEnabled(true);
    QElapsedTimer clock;
    clock.start();
    while (window.tmrReimprimir.enabled() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(window.tmrReimprimir.enabled());
    EXPECT_EQ(window.lblInfo.caption(), "No se encontraron datos con los parametros ingresados.");
}
