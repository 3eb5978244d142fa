#include "Readers.h"
#include "TestLayout.h"
#include "reports/PreviewWindow.h"
#include "reports/Printing.h"
#include "reports/ReportViewer.h"
#include "support/Files.h"
#include "support/LocaleScope.h"
#include "support/LockedFile.h"
#include "support/ScriptedHost.h"
#include "support/UserInput.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace reports;

namespace {

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        QVector<Row> rows;
        const QStringList dishes{"Milanesa napolitana", "Ensalada mixta",    "Flan con dulce", "Agua mineral",
                                 "Pizza muzzarella",    "Empanada de carne", "Café cortado"};
        for (int i = 0; i < 90; ++i)
            rows << SalesReport::row(QStringLiteral("Mesa %1").arg(1 + i / 15), dishes[i % dishes.size()],
                                     1 + i % 3, 450 + (i * 37) % 900,
                                     i % 11 == 0 ? QStringLiteral("Cliente pidió cambio de plato")
                                                 : QString(),
                                     i % 13 == 5 ? QStringLiteral("H") : QStringLiteral("V"));
        rows[4][2] = -1.0; // a refund prints red
        report.params->setText(QStringLiteral("Período: 01/12/2026 al 07/12/2026"));
        report.dao->setRows(SalesReport::columns(), rows);
        report.notes.dao->setRows({QStringLiteral("nota"), QStringLiteral("importe")},
                                  {{QStringLiteral("Descuento empleados"), -1200.0},
                                   {QStringLiteral("Invitación de la casa"), -850.0}});
    }

    LocaleScope locale{"es_AR.UTF-8"};
    ScriptedHost host;
    SalesReport report;
    ReportViewer viewer;
};

} // namespace

TEST_F(PreviewTest, ShowsThePagesWithTheEnginesToolsAndNavigates) {
    viewer.show(report);
    PreviewWindow* preview = viewer.window();
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->windowTitle(), "Ventas de prueba");
    ASSERT_GE(preview->pageCount(), 3);
    EXPECT_EQ(preview->toolBar()->actions().size(), Toolbar::engineToolCount());
    EXPECT_EQ(Toolbar::engineToolCount(), 21);
    EXPECT_EQ(preview->action(0)->text(), "Imprimir...");
    EXPECT_EQ(preview->action(7)->text(), QStringLiteral("Página 1 de %1").arg(preview->pageCount()));

    preview->action(4)->trigger(); // next page
    EXPECT_EQ(preview->currentPage(), 1);
    EXPECT_EQ(preview->action(7)->text(), QStringLiteral("Página 2 de %1").arg(preview->pageCount()));
    preview->action(5)->trigger(); // last page
    EXPECT_EQ(preview->currentPage(), preview->pageCount() - 1);
    preview->action(4)->trigger(); // no page after the last
    EXPECT_EQ(preview->currentPage(), preview->pageCount() - 1);
    preview->action(2)->trigger(); // first page
    EXPECT_EQ(preview->currentPage(), 0);

    preview->action(15)->trigger(); // 200%
    EXPECT_DOUBLE_EQ(preview->zoom(), 2.0);
    preview->action(9)->trigger(); // zoom out
    EXPECT_DOUBLE_EQ(preview->zoom(), 1.6);
    preview->action(13)->trigger(); // 100%
    EXPECT_DOUBLE_EQ(preview->zoom(), 1.0);
    EXPECT_FALSE(host.ended);

    // Showing again runs the report again in the same window, from its first page wherever the
    // last one was left.
    QLineEdit* box = preview->toolBar()->findChild<QLineEdit*>();
    box->selectAll();
    EXPECT_TRUE(user::type(box, "3\r"));
    EXPECT_EQ(preview->currentPage(), 2);
    preview->close();
    report.events.clear();
    viewer.show(report);
    EXPECT_EQ(viewer.window(), preview);
    EXPECT_EQ(report.events.first(), "ReportStart");
    EXPECT_EQ(preview->currentPage(), 0);
    EXPECT_EQ(preview->toolBar()->findChild<QLineEdit*>()->text(), "1");
}

// The engine's own texts follow the process language: Spanish under a Spanish locale, English
// under any other.
TEST_F(PreviewTest, TheEnginesTextsAreInTheProcessLanguage) {
    const QStringList spanish{"Imprimir...",   "Página", "de %1",         "Ajustar al ancho",
                              "Página entera", "Cerrar", "Página 1 de %1"};
    const QStringList english{"Print...", "Page", "of %1", "Fit Width", "Fit Page", "Close", "Page 1 of %1"};
    const struct {
        const char* locale;
        const QStringList& texts;
    } cases[] = {{"es_AR.UTF-8", spanish},
                 {"es_CL.UTF-8", spanish},
                 {"en_US.UTF-8", english},
                 {"de_DE.UTF-8", english}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        LocaleScope locale(c.locale);
        viewer.show(report);
        PreviewWindow* preview = viewer.window();
        const QList<QLabel*> labels = preview->toolBar()->findChildren<QLabel*>();
        ASSERT_EQ(labels.size(), 2);
        const QString pages = QString::number(preview->pageCount());
        const QStringList shown{preview->action(0)->text(),  labels[0]->text(),
                                labels[1]->text(),           preview->action(16)->text(),
                                preview->action(17)->text(), preview->action(19)->text(),
                                preview->action(7)->text()};
        QStringList expected;
        for (const QString& text : c.texts)
            expected << QString(text).replace("%1", pages);
        EXPECT_EQ(shown, expected);
    }
}

TEST_F(PreviewTest, KeysTheWheelAndThePageBoxMoveThroughThePages) {
    viewer.show(report);
    PreviewWindow* preview = viewer.window();
    ASSERT_GE(preview->pageCount(), 3);
    const int last = preview->pageCount() - 1;
    auto* scroll = qobject_cast<QScrollArea*>(preview->centralWidget());
    ASSERT_TRUE(scroll);
    QLineEdit* box = preview->toolBar()->findChild<QLineEdit*>();
    ASSERT_TRUE(box && box->isEnabled());
    EXPECT_EQ(box->text(), "1");

    box->selectAll();
    EXPECT_TRUE(user::type(box, "3\r"));
    EXPECT_EQ(preview->currentPage(), 2);
    const struct {
        Qt::Key key;
        int page;
    } keys[] = {{Qt::Key_Home, 0}, {Qt::Key_PageDown, 1}, {Qt::Key_Right, 2}, {Qt::Key_PageUp, 1},
                {Qt::Key_Left, 0}, {Qt::Key_Left, 0},     {Qt::Key_End, last}};
    for (const auto& k : keys) {
        EXPECT_TRUE(user::pressKey(scroll, k.key));
        EXPECT_EQ(preview->currentPage(), k.page) << k.key;
        EXPECT_EQ(box->text(), QString::number(k.page + 1));
    }

    // Down and the wheel scroll the page, then turn it; up goes back to the previous page's foot.
    preview->resize(900, 500);
    preview->setZoom(1.0);
    user::pressKey(scroll, Qt::Key_Home);
    QScrollBar* bar = scroll->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    int presses = 0;
    while (preview->currentPage() == 0 && presses++ < 1000)
        user::pressKey(scroll, Qt::Key_Down);
    EXPECT_EQ(preview->currentPage(), 1);
    EXPECT_EQ(bar->value(), 0);
    user::pressKey(scroll, Qt::Key_Up);
    EXPECT_EQ(preview->currentPage(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    for (int i = 0; i < 3; ++i) {
        QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(scroll->viewport(), &wheel);
    }
    EXPECT_EQ(preview->currentPage(), 1);

    // Zooming keeps the middle of the view on the same place of the page.
    bar->setValue(bar->maximum() / 2);
    const double before =
        double(bar->value() + scroll->viewport()->height() / 2) / scroll->widget()->height();
    preview->setZoom(2.0);
    const double after = double(bar->value() + scroll->viewport()->height() / 2) / scroll->widget()->height();
    EXPECT_NEAR(after, before, 0.02);

    // Ctrl+P prints, Escape closes.
    int dialogs = 0;
    setPrintDialog([&](QPrinter&, QWidget*) {
        ++dialogs;
        return false;
    });
    QKeyEvent print(QEvent::KeyPress, Qt::Key_P, Qt::ControlModifier, QStringLiteral("\x10"));
    QCoreApplication::sendEvent(scroll, &print);
    setPrintDialog({});
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(user::pressKey(scroll, Qt::Key_Escape));
    EXPECT_FALSE(preview->isVisible());
}

TEST_F(PreviewTest, PrintsThroughThePrintDialog) {
    QTemporaryDir dir;
    QString output = dir.filePath("printed.pdf");
    int dialogs = 0;
    setPrintDialog([&](QPrinter& printer, QWidget*) {
        ++dialogs;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(output);
        return true;
    });
    viewer.show(report);
    viewer.window()->action(0)->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(host.boxes.isEmpty());

    // A print that cannot write its file says so, naming it, and leaves an earlier file alone.
    const QString earlier = output;
    struct Failure {
        QString file, reason;
    };
    const Failure failures[] = {{dir.filePath("no/existe.pdf"), "la carpeta no existe"},
                                {earlier, "otro programa tiene el archivo bloqueado"}};
    LockedFile lock(earlier);
    ASSERT_TRUE(lock.locked());
    const QByteArray printed = fileContents(earlier);
    for (const Failure& failure : failures) {
        output = failure.file;
        host.boxes.clear();
        viewer.window()->action(0)->trigger();
        ASSERT_EQ(host.boxes.size(), 1);
        EXPECT_EQ(host.boxes[0].text, QStringLiteral("No se pudo imprimir el informe en \"%1\": %2.")
                                          .arg(failure.file, failure.reason));
        EXPECT_EQ(host.boxes[0].icon(), runtime::mb::Exclamation);
    }
    setPrintDialog({});
    QFile kept(earlier);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), printed);
    EXPECT_FALSE(host.ended);

    const auto text = runReader("pdftotext", {"-layout", earlier, "-"});
    if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_EQ(text->count(u'\f'), report.pages().size());
    EXPECT_TRUE(text->contains("Período: 01/12/2026 al 07/12/2026"));
    EXPECT_TRUE(text->contains("DESCUENTO EMPLEADOS"));
}

TEST_F(PreviewTest, AScreenshotOfAPageLooksLikeAPrintedReport) {
    viewer.show(report);
    PreviewWindow* preview = viewer.window();
    preview->resize(1000, 1150);
    preview->setZoom(1.0);
    // The build folder's test-output (the test program lies two folders below the build folder).
    const QString folder = qEnvironmentVariable("TEST_OUTPUT_DIR", QCoreApplication::applicationDirPath() +
                                                                       QStringLiteral("/../../test-output"));
    QDir().mkpath(folder);
    const QImage first = preview->grab().toImage();
    preview->setCurrentPage(preview->pageCount() - 1);
    const QImage last = preview->grab().toImage();
    ASSERT_TRUE(first.save(folder + "/report-preview-first-page.png"));
    ASSERT_TRUE(last.save(folder + "/report-preview-last-page.png"));
    // The page is white paper on a grey ground, with dark text on it.
    const QPoint inside = first.rect().center();
    int dark = 0, white = 0;
    for (int y = inside.y() - 200; y < inside.y() + 200; ++y)
        for (int x = 100; x < 800; ++x) {
            const QColor c = first.pixelColor(x, y);
            dark += c.lightness() < 100;
            white += c == Qt::white;
        }
    EXPECT_GT(white, dark);
    EXPECT_GT(dark, 500);
}
