#include "deleted_items/ActiveReport1.h"
#include "deleted_items/Quenbrook.h"
#include "deleted_items/frmParametros.h"
#include "forms/Events.h"
#include "framework/Main.h"
#include "framework/ProgramSession.h"
#include "framework/ReportExport.h"
#include "framework/frmLogin.h"
#include "reports/PreviewWindow.h"
#include "runtime/DateSerial.h"
#include "runtime/Program.h"

#include "../reports/Readers.h"
#include "support/LocaleScope.h"
#include "support/Screenshot.h"
#include "support/ScriptedHost.h"
#include "support/SettingsScope.h"
#include "support/UserInput.h"
#include "tools/pos/DemoInstallation.h"
#include "tools/pos/PosDatabase.h"

#include <QImage>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace framework;
using namespace quenbrook;

using runtime::Variant;

namespace {

QDateTime fixedNow() {
    return QDateTime(QDate(2026, 12, 3), QTime(10, 30, 15));
}

// A demo installation in a folder of its own, with the clock pinned to 3 December 2026.
class DemoTest : public ::testing::Test {
protected:
    void SetUp() override { runtime::setClock(fixedNow); }
    void TearDown() override {
        session.reset();
        runtime::App::setPath(QString());
    }

    demo::Counts make(const demo::Options& options = {}, const QString& sub = QStringLiteral("pos")) {
        return demo::makeInstallation(dir.filePath(sub), options);
    }
    data::ConnectionPtr db(const QString& sub = QStringLiteral("pos")) {
        return posdb::openJet(dir.filePath(sub) + QStringLiteral("/db/db.mdb"));
    }
    static long count(const data::ConnectionPtr& db, const QString& sql) {
        return posdb::rows(db, sql)[0][0].toLong();
    }

    // Starts Quenbrook afresh from the installation's program folder and logs in.
    void logIn(const QString& usuario, const QString& password) {
        runtime::App::setPath(demo::programFolder(dir.filePath(QStringLiteral("pos"))));
        session.reset();
        session.emplace(quenbrook::program());
        forms::fire([] { Main(); });
        frmLogin& login = forms::instance<frmLogin>();
        login.txtUsuario.setText(QString());
        EXPECT_TRUE(user::type(login.txtUsuario.widget(), usuario));
        EXPECT_TRUE(user::type(login.txtPass.widget(), password + QStringLiteral("\r")));
    }

    QTemporaryDir dir;
    SettingsScope settings;
    ScriptedHost host;
    std::optional<ProgramSession> session;
};

TEST_F(DemoTest, TheProgramStartsBesideItAndReportsTodaysDeletions) {
    make();
    logIn(QString::fromLatin1(demo::AdminUser), QString::fromLatin1(demo::AdminPassword));
    ASSERT_TRUE(forms::isLoaded<frmParametros>());
    frmParametros& window = forms::instance<frmParametros>();
    EXPECT_TRUE(user::click(window.cmdVerListado.widget()));
    EXPECT_TRUE(host.boxes.isEmpty());

    // Header rows (a time of the ticket or none, no line time) of today's sales only.
    const auto written = posdb::rows(posdb::openJet(dir.filePath(QStringLiteral("pos/spooler.mdb"))),
                                     QStringLiteral("select campo14, campo17, campo24 from tmpreport"));
    int headers = 0, voidedLines = 0;
    for (const auto& row : written) {
        if (row[1].isNull()) {
            ++headers;
            EXPECT_EQ(row[0].toDouble(), runtime::today());
        }
        if (row[2].toText() == QLatin1String("ANULADO")) ++voidedLines;
    }
    EXPECT_GE(headers, 5);
    EXPECT_GT(voidedLines, 0);
    EXPECT_TRUE(framework::preview()->isVisible());
    EXPECT_GE(framework::report<ActiveReport1>().pages().size(), 2);
}

TEST_F(DemoTest, OnTheSqlServerKindTheReportHoldsTheSalesOfTheAccessKind) {
    demo::Options options;
    options.sqlServer = true;
    make(options);
    const QString ini = dir.filePath(QStringLiteral("pos/bases.ini"));
    auto build = [&] {
        logIn(QString::fromLatin1(demo::AdminUser), QString::fromLatin1(demo::AdminPassword));
        EXPECT_TRUE(user::click(forms::instance<frmParametros>().cmdVerListado.widget()));
        const auto rows = posdb::rows(posdb::openJet(dir.filePath(QStringLiteral("pos/spooler.mdb"))),
                                      QStringLiteral("select campo1, campo20, campo24 from tmpreport"));
        QStringList texts;
        for (const auto& row : rows)
            texts << row[0].toText() + '|' + row[1].toText() + '|' + row[2].toText();
        return texts;
    };
    const QStringList server = build();
    EXPECT_TRUE(framework::gDB->isMSSQL);
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray access = file.readAll().split('\r').first() + "\r\n";
    file.resize(0);
    file.write(access);
    file.close();
    const QStringList jet = build();
    EXPECT_FALSE(framework::gDB->isMSSQL);
    EXPECT_GE(server.size(), 10);
    EXPECT_EQ(server, jet);
    EXPECT_TRUE(host.boxes.isEmpty());
}

TEST_F(DemoTest, TheCashierItAnnouncesMayLogInAndTheWaiterMayNot) {
    make();
    logIn(QString::fromLatin1(demo::CashierUser), QString::fromLatin1(demo::CashierPassword));
    EXPECT_TRUE(forms::isLoaded<frmParametros>());
    EXPECT_TRUE(host.boxes.isEmpty());

    logIn(QStringLiteral("diego"), QStringLiteral("diego"));
    EXPECT_FALSE(forms::isLoaded<frmParametros>());
    EXPECT_FALSE(host.boxes.isEmpty());
}

TEST_F(DemoTest, TheSameSeedGivesTheSameTrade) {
    demo::Options options;
    options.days = 4;
    options.seed = 11;
    make(options, QStringLiteral("a"));
    make(options, QStringLiteral("b"));
    options.seed = 12;
    make(options, QStringLiteral("c"));
    for (const char* table : {"sesion", "ventas", "ventasdetail", "Quenbrook", "auditoria"}) {
        const QString sql = QStringLiteral("select * from %1").arg(QLatin1String(table));
        const auto a = posdb::rows(db(QStringLiteral("a")), sql);
        const auto b = posdb::rows(db(QStringLiteral("b")), sql);
        ASSERT_EQ(a.size(), b.size()) << table;
        for (int r = 0; r < a.size(); ++r)
            for (int c = 0; c < a[r].size(); ++c)
                ASSERT_TRUE(a[r][c].type() == b[r][c].type() && a[r][c].toText() == b[r][c].toText())
                    << table;
    }
    const QString total = QStringLiteral("select sum(total) from ventas");
    EXPECT_NE(posdb::rows(db(QStringLiteral("a")), total)[0][0].toDouble(),
              posdb::rows(db(QStringLiteral("c")), total)[0][0].toDouble());
}

TEST_F(DemoTest, TheTradeHoldsEveryCaseTheReportLooksFor) {
    demo::Options options;
    options.days = 10;
    options.sales = 2000;
    const demo::Counts made = make(options);
    const auto pos = db();

    // Enough lines and deletions for a busy month at scale (the benchmark's 20,000 sales).
    EXPECT_EQ(count(pos, "select count(*) from ventas"), made.sales);
    EXPECT_GE(made.sales, 2000);
    EXPECT_GE(count(pos, "select count(*) from ventasdetail"), 5 * made.sales);
    EXPECT_GE(count(pos, "select count(*) from Quenbrook where TIPO <> 'ITEM'"), made.sales / 4);

    // One shift still open, the last; its latest sales are open, without ticket.
    EXPECT_EQ(count(pos, "select count(*) from sesion where fechacierre is null"), 1);
    EXPECT_EQ(count(pos, "select max(Idsesion) from sesion where fechacierre is null"),
              count(pos, "select max(Idsesion) from sesion"));
    EXPECT_GT(made.open, 0);
    EXPECT_EQ(count(pos, "select count(*) from ventas where estado = 1 and (NUMEROTICKET is not null or "
                         "idsesion <> (select max(Idsesion) from sesion))"),
              0);

    // Voided sales: replaced by a closed sale, or not replaced with 0 or an empty reference.
    EXPECT_GT(made.replaced, 0);
    EXPECT_EQ(count(pos,
                    "select count(*) from ventas v where v.reemplazadoporid > 0 and not exists (select * "
                    "from ventas r where r.Idventa = v.reemplazadoporid and r.estado = 2)"),
              0);
    EXPECT_GT(count(pos, "select count(*) from ventas where estado = 3 and reemplazadoporid = 0"), 0);
    EXPECT_GT(count(pos, "select count(*) from ventas where estado = 3 and isnull(reemplazadoporid)"), 0);
    EXPECT_EQ(count(pos, "select count(*) from auditoria a where codigo = 21 and not exists (select * from "
                         "ventas v where v.Idventa = a.idventa and v.estado = 3)"),
              0);
    EXPECT_GT(made.audits, 0);

    // Motive rows stand right before their deleted item; some items leave after the ticket.
    EXPECT_EQ(count(pos,
                    "select count(*) from Quenbrook m where TIPO = 'ITEM' and not exists (select * from "
                    "Quenbrook d where d.IDVENTA = m.IDVENTA and d.HORA = m.HORA and d.TIPO = 'PRODUCTO')"),
              0);
    EXPECT_GT(count(pos,
                    "select count(*) from Quenbrook q inner join ventas v on q.IDVENTA = v.Idventa where "
                    "q.TIPO = 'PRODUCTO' and q.Fecha + q.HORA > v.SF_FECHA + v.SF_hora"),
              0);

    // Sales without cash date for the cash-date pass; every sale within the ten days.
    EXPECT_EQ(count(pos, "select count(*) from ventas where fechacaja is null"), made.withoutCashDate);
    EXPECT_GT(made.withoutCashDate, 0);
    EXPECT_EQ(count(pos, "select count(*) from ventas where fecha < #2026-11-24# or fecha > #2026-12-03#"),
              0);
}

// The first page of a PDF as a picture, at 72 dots an inch by default (a dot a point).
QImage firstPage(const QString& pdf, int dpi = 72) {
    const QString prefix = pdf + QStringLiteral("-page");
    if (!runReader(QStringLiteral("pdftoppm"),
                   {"-f", "1", "-l", "1", "-r", QString::number(dpi), "-singlefile", "-png", pdf, prefix}))
        return {};
    return QImage(prefix + QStringLiteral(".png"));
}

// The box, in points, of a word on the first page of a PDF.
QRectF wordBox(const QString& pdf, const QString& word) {
    const auto html = runReader(QStringLiteral("pdftotext"), {"-f", "1", "-l", "1", "-bbox", pdf, "-"});
    if (!html) return {};
    const QRegularExpression re(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">)re") +
        QRegularExpression::escape(word) + QStringLiteral("</word>"));
    const auto m = re.match(*html);
    if (!m.hasMatch()) return {};
    return QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
}

} // namespace

// The word-processor and spreadsheet exports as LibreOffice opens them.
TEST_F(DemoTest, OfficeOpensTheExportsAsThePreviewShowsThem) {
    LocaleScope locale("en_US.UTF-8");
    make();
    logIn(QString::fromLatin1(demo::AdminUser), QString::fromLatin1(demo::AdminPassword));
    ASSERT_TRUE(forms::isLoaded<frmParametros>());
    EXPECT_TRUE(user::click(forms::instance<frmParametros>().cmdVerListado.widget()));
    ActiveReport1& report = framework::report<ActiveReport1>();
    ASSERT_GE(report.pages().size(), 2);
    const QString doc = dir.filePath(QStringLiteral("informe-doc.doc"));
    const QString xls = dir.filePath(QStringLiteral("informe-xls.xls"));
    exDOCReport(report, doc);
    exExcelReport(report, xls);

    // The document: the preview's pages, its captions on their coloured ground.
    const auto docPdf = convertWithOffice(doc, QStringLiteral("pdf"));
    if (!docPdf) GTEST_SKIP() << "LibreOffice is not installed";
    ASSERT_FALSE(docPdf->isEmpty());
    const auto info = runReader(QStringLiteral("pdfinfo"), {*docPdf});
    ASSERT_TRUE(info);
    EXPECT_TRUE(
        info->contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(report.pages().size()))))
        << info->toStdString();
    const auto docText = runReader(QStringLiteral("pdftotext"), {"-f", "1", "-l", "1", *docPdf, "-"});
    for (const char* caption : {"Items Eliminados", "Fecha T.", "Mesa", "Total", "Usuario"})
        EXPECT_TRUE(docText->contains(QLatin1String(caption))) << caption;
    const QImage page = firstPage(*docPdf);
    const QRect caption = wordBox(*docPdf, QStringLiteral("Mesa")).toAlignedRect() & page.rect();
    ASSERT_FALSE(caption.isEmpty());
    int coloured = 0;
    for (int y = caption.top(); y <= caption.bottom(); ++y)
        for (int x = caption.left(); x <= caption.right(); ++x)
            coloured += page.pixelColor(x, y).lightness() < 200;
    EXPECT_GT(coloured, caption.width() * caption.height() / 2) << "the caption's ground is not coloured";
    EXPECT_FALSE(saveScreenshot(firstPage(*docPdf, 110), QStringLiteral("office-doc")).isEmpty());

    // The spreadsheet: amounts read back as numbers (the sheet's values unformatted, where a
    // text would keep its grouping), no column too narrow for its cells.
    const auto csv = convertWithOffice(
        xls, QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,false,false"));
    ASSERT_TRUE(csv && !csv->isEmpty());
    QFile csvFile(*csv);
    ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly));
    const QString sheet = QString::fromUtf8(csvFile.readAll());
    QList<double> numbers;
    for (const QString& field : sheet.split(QRegularExpression(QStringLiteral("[,\\n]")))) {
        bool ok = false;
        const double value = QString(field).remove(u'"').toDouble(&ok);
        if (ok) numbers.append(value);
    }
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const reports::Field* total : {report.sumaTotal, report.sumaAnulaciones, report.totalokbo}) {
        const double amount = english.toDouble(total->text());
        EXPECT_TRUE(std::any_of(numbers.begin(), numbers.end(), [&](double n) {
            return std::abs(n - amount) < 0.005;
        })) << total->text().toStdString();
    }
    const auto xlsPdf = convertWithOffice(xls, QStringLiteral("pdf"));
    ASSERT_TRUE(xlsPdf && !xlsPdf->isEmpty());
    const auto sheetText = runReader(QStringLiteral("pdftotext"), {"-layout", *xlsPdf, "-"});
    EXPECT_FALSE(sheetText->contains(QStringLiteral("###")));
    EXPECT_TRUE(sheetText->contains(report.sumaTotal->text()));
    EXPECT_FALSE(saveScreenshot(firstPage(*xlsPdf, 110), QStringLiteral("office-xls")).isEmpty());
}
