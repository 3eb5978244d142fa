#include "Readers.h"
#include "forms/CommonDialog.h"
#include "forms/Form.h"
#include "forms/ImageList.h"
#include "framework/ExportToolPictures.h"
#include "framework/ExportingReport.h"
#include "framework/ParametersWindow.h"
#include "framework/ProgramSession.h"
#include "framework/ReportExport.h"
#include "reports/PreviewWindow.h"
#include "reports/ReportViewer.h"
#include "runtime/Program.h"
#include "support/FileSizeLimit.h"
#include "support/Files.h"
#include "support/LocaleScope.h"
#include "support/LockedFile.h"
#include "support/ScriptedHost.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QToolBar>

#include <optional>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace framework;

using namespace reports;

namespace {

// A parameters window: its save dialog and image list serve the export tools.
class ParametrosStandIn : public ParametersWindow {};

// A small layout with a preview and the export tools.
class ExportLayout : public ExportingReport {
public:
    ExportLayout() {
        setCaption(QStringLiteral("Exportable"));
        Section* detail = addSection(SectionKind::Detail, QStringLiteral("Detail"), 300);
        detail->addField(QStringLiteral("nombre"), QStringLiteral("nombre"), {0, 0, 3000, 280});
        detail->addField(QStringLiteral("importe"), QStringLiteral("importe"), {3000, 0, 1500, 280},
                         QStringLiteral("#,##0.00"));
        dao = detail->addDataControl(QStringLiteral("dao"), {0, 0, 800, 300});
        setRows({{QStringLiteral("Milanesa"), 1500.0}, {QStringLiteral("Ensalada"), 800.0}});
    }
    void setRows(const QVector<Row>& rows) {
        dao->setRows({QStringLiteral("nombre"), QStringLiteral("importe")}, rows);
    }

    DataControl* dao;
    int runs = 0;

protected:
    void ActiveReport_ReportStart() override { ++runs; }
};

struct DialogSeen {
    QString title, filter, fileName;
    int filterIndex = 0;
    long flags = 0;
    bool cancelError = false;
};

class ExportToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        runtime::App::setPath(dir.path());
        session.emplace(ProgramDescription{
            .parametros = []() -> ParametersWindow& { return forms::instance<ParametrosStandIn>(); }});
        forms::CommonDialog::setSaveScript(
            [this](const forms::CommonDialog& dialog) -> std::optional<QString> {
                seen.append({dialog.DialogTitle, dialog.Filter, dialog.FileName, dialog.FilterIndex,
                             dialog.Flags, dialog.CancelError});
                if (answers.isEmpty()) return std::nullopt;
                return answers.takeFirst();
            });
    }
    void TearDown() override { session.reset(); }
    QString file(const QString& name) const { return dir.filePath(name); }
    QStringList logLines() const { return errorLogLines(dir.path()); }

    LocaleScope locale{"es_AR.UTF-8"};
    ScriptedHost host;
    QTemporaryDir dir;
    ExportLayout report;
    ReportViewer viewer;
    QList<std::optional<QString>> answers;
    QList<DialogSeen> seen;
    std::optional<ProgramSession> session;
};

} // namespace

TEST_F(ExportToolsTest, ReportEndAddsTheCaptionAndFourExportToolsAt21To25) {
    EXPECT_FALSE(forms::isLoaded<ParametrosStandIn>());
    viewer.show(report);
    EXPECT_TRUE(forms::isLoaded<ParametrosStandIn>()); // reached for its image list
    EXPECT_FALSE(forms::instance<ParametrosStandIn>().visible());
    Toolbar& toolbar = report.toolbar();
    ASSERT_EQ(toolbar.count(), 26);
    const QStringList captions{"                Exportar a:", "    Excel    ", "    PDF      ",
                               "    Texto    ", "    Word     "};
    const QVector<QImage> pictures = exportToolPictures();
    for (int position = 21; position <= 25; ++position) {
        const Tool& tool = toolbar.tools(position);
        EXPECT_EQ(tool.id, position);
        EXPECT_EQ(tool.caption, captions[position - 21]);
        EXPECT_EQ(tool.action, Tool::Action::None);
        if (position == 21) {
            EXPECT_TRUE(tool.picture.isNull());
            EXPECT_FALSE(tool.enabled);
        } else {
            EXPECT_EQ(tool.picture, pictures[position - 22]);
            EXPECT_TRUE(tool.enabled);
        }
    }
    // The preview shows them with their captions and pictures; print comes first.
    PreviewWindow* preview = viewer.window();
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->windowTitle(), "Exportable");
    EXPECT_EQ(preview->action(0)->text(), "Imprimir...");
    EXPECT_EQ(preview->action(22)->text(), "    Excel    ");
    EXPECT_FALSE(preview->action(22)->icon().isNull());
    EXPECT_FALSE(preview->action(21)->isEnabled());
    // Four distinct pictures.
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            EXPECT_NE(pictures[i], pictures[j]);
}

TEST_F(ExportToolsTest, TheCaptionToolAndTheEnginesToolsExportNothing) {
    viewer.show(report);
    report.clickTool(21);
    report.clickTool(13); // 100%
    report.clickTool(4);  // next page
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ExportToolsTest, EachExportToolAsksForANameAndWritesThePreviewsPages) {
    viewer.show(report);
    struct Case {
        int tool;
        QString ext;
        QByteArray magic;
    };
    const QList<Case> cases{{22, "xls", QByteArray::fromHex("D0CF11E0A1B11AE1")},
                            {23, "pdf", "%PDF"},
                            {24, "txt", "Milanesa"},
                            {25, "doc", "{\\rtf1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ext.toStdString());
        seen.clear();
        const int runs = report.runs;
        answers = {file("informe." + c.ext)};
        viewer.window()->action(c.tool)->trigger(); // as the user clicks it
        QCoreApplication::processEvents();          // the toolbar is rebuilt after the click
        ASSERT_EQ(seen.size(), 1);
        EXPECT_EQ(seen[0].title, "Save File");
        EXPECT_EQ(seen[0].filter, c.ext + " File (*." + c.ext + ")|*." + c.ext + "|AllFiles (*.*)|*.*");
        EXPECT_EQ(seen[0].filterIndex, 1);
        EXPECT_EQ(seen[0].flags, 2054);
        EXPECT_TRUE(seen[0].cancelError);
        EXPECT_EQ(report.runs, runs); // the pages shown, not a new run
        QFile written(file("informe." + c.ext));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_TRUE(written.readAll().startsWith(c.magic));
    }
    // The dialog keeps the name chosen last; the tools stay at 21 to 25.
    EXPECT_EQ(forms::instance<ParametrosStandIn>().dlgDialog.FileName, file("informe.doc"));
    EXPECT_EQ(report.toolbar().count(), 26);
    EXPECT_EQ(viewer.window()->toolBar()->actions().size(), 26);
    EXPECT_EQ(viewer.window()->action(25)->text(), "    Word     ");
    EXPECT_TRUE(logLines().isEmpty());
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_FALSE(host.ended);
}

// Rows rewritten after the preview was shown do not reach the export.
TEST_F(ExportToolsTest, TheExportHoldsThePagesThePreviewShows) {
    viewer.show(report);
    report.setRows({{QStringLiteral("Flan"), 450.0}});
    answers = {file("nuevo.txt")};
    report.clickTool(24);
    QFile written(file("nuevo.txt"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(text.contains("Milanesa"));
    EXPECT_TRUE(text.contains("1.500,00"));
    EXPECT_FALSE(text.contains("Flan"));
}

TEST_F(ExportToolsTest, ACancelWritesNothingAndLogsNothing) {
    viewer.show(report);
    answers = {std::nullopt};
    report.clickTool(23);
    EXPECT_EQ(seen.size(), 1);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(logLines().isEmpty());
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_EQ(AskSaveFileName("pdf", QString()), "");
}

TEST_F(ExportToolsTest, TheDialogConfirmsReplacingAndRefusesMissingFolders) {
    viewer.show(report);
    QFile existing(file("viejo.pdf"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("old");
    existing.close();

    // A missing folder is refused; declining to replace asks again; the user cancels.
    host.answer(runtime::mb::OK);
    host.answer(runtime::mb::No);
    answers = {file("no/existe.pdf"), file("viejo.pdf"), std::nullopt};
    report.clickTool(23);
    ASSERT_EQ(host.boxes.size(), 2);
    EXPECT_TRUE(host.boxes[0].text.contains("Path does not exist"));
    EXPECT_TRUE(host.boxes[1].text.contains("already exists"));
    EXPECT_EQ(host.boxes[1].buttons & runtime::mb::ButtonsMask, runtime::mb::YesNo);
    QFile old(file("viejo.pdf"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
    old.close();

    // Confirming replaces it.
    host.answer(runtime::mb::Yes);
    answers = {file("viejo.pdf")};
    report.clickTool(23);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_TRUE(old.readAll().startsWith("%PDF"));
}

TEST_F(ExportToolsTest, ANameWithoutExtensionIsUsedAsTyped) {
    viewer.show(report);
    answers = {file("informe")};
    report.clickTool(25);
    EXPECT_TRUE(QFile::exists(file("informe")));
    EXPECT_FALSE(QFile::exists(file("informe.doc")));
}

// A missing folder, a folder that may not be written to, a file another program holds locked,
// a disk that fills up while an earlier export is being replaced: each export writes its
// error-log line and tells the user the file and the reason; the earlier file stays.
TEST_F(ExportToolsTest, AFailedExportIsLoggedAndToldAndKeepsTheEarlierFile) {
    QVector<Row> rows;
    for (int i = 0; i < 300; ++i)
        rows.append({QStringLiteral("plato %1").arg(i), 100.0 + i});
    report.setRows(rows);
    viewer.show(report);
    const QStringList procedures{"exExcelReport", "exPDFReport", "exTXTReport", "exDOCReport"};
    const std::function<void(reports::Report&, const QString&)> exports[] = {exExcelReport, exPDFReport,
                                                                             exTXTReport, exDOCReport};
    const QByteArray earlier = "an earlier export";
    const QString target = file("informe.x");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(earlier);
    old.close();
    int failures = 0;
    // The four exports to a file fail, each with a box that names the file and gives the reason.
    const auto exportAllFailing = [&](const QString& fileName, const QString& reason) {
        SCOPED_TRACE(reason.toStdString());
        host.boxes.clear();
        for (const auto& exportTo : exports)
            exportTo(report, fileName);
        failures += 4;
        ASSERT_EQ(host.boxes.size(), 4);
        const QString told = QStringLiteral("No se pudo exportar el informe a \"%1\": ").arg(fileName);
        for (const ScriptedHost::Box& box : host.boxes) {
            EXPECT_TRUE(box.text.startsWith(told + reason)) << box.text.toStdString();
            EXPECT_TRUE(box.text.size() > told.size() + 2) << box.text.toStdString();
            EXPECT_EQ(box.icon(), runtime::mb::Exclamation);
        }
    };

    exportAllFailing(file("sin/carpeta/informe.x"), "la carpeta no existe.");
    QDir().mkdir(file("cerrada"));
    QFile::setPermissions(file("cerrada"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (::access(QFile::encodeName(file("cerrada")).constData(), W_OK) != 0) // not as root
        exportAllFailing(file("cerrada/informe.x"), "no tiene permiso para escribir en la carpeta.");
    {
        LockedFile lock(target);
        ASSERT_TRUE(lock.locked());
        exportAllFailing(target, "otro programa tiene el archivo bloqueado.");
    }
    {
        FileSizeLimit full(1536);
        exportAllFailing(target, "el archivo es demasiado grande para el disco.");
    }
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), earlier);
    EXPECT_EQ(QDir(dir.path()).entryList({"informe*"}, QDir::Files), QStringList{"informe.x"});

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), failures);
    for (int i = 0; i < failures; ++i) {
        EXPECT_TRUE(lines[i].startsWith('['));
        EXPECT_TRUE(lines[i].endsWith("]Error 75 (Path/File access error) in procedure " + procedures[i % 4] +
                                      " of Módulo mFunciones"))
            << lines[i].toStdString();
    }
    EXPECT_FALSE(host.ended);
}

TEST_F(ExportToolsTest, WithoutAParametersWindowTheDialogFailureIsLogged) {
    session.reset();
    session.emplace();
    EXPECT_EQ(AskSaveFileName("xls", QString()), "");
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains("in procedure AskSaveFileName of Módulo mFunciones"))
        << lines[0].toStdString();
}
