#include "framework/CurrentUser.h"
#include "framework/ParametersWindow.h"
#include "framework/UserSettings.h"
#include "framework/clsDataBase.h"
#include "framework/frmLogin.h"

#include "support/LocalPorts.h"
#include "support/ProgramTest.h"
#include "support/QtPrinters.h"
#include "support/Screenshot.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace framework;

namespace {

// Stands in for a program's parameters window.
class frmParametrosPrueba : public ParametersWindow {};

class LoginTest : public ProgramTest<frmParametrosPrueba> {
protected:
    LoginTest()
        : ProgramTest([] {
              return ProgramDescription{
                  .title = QStringLiteral("Quenbrook"),
                  .parametros = []() -> ParametersWindow& { return forms::instance<frmParametrosPrueba>(); }};
          }) {}

    // Types the user and the password and presses Enter in the password box.
    void logIn(frmLogin& login, const QString& usuario, const QString& password) {
        login.txtUsuario.setText(QString());
        login.txtPass.setText(QString());
        EXPECT_TRUE(user::type(login.txtUsuario.widget(), usuario));
        EXPECT_TRUE(user::type(login.txtPass.widget(), password + QStringLiteral("\r")));
    }
};

TEST_F(LoginTest, FirstStartShowsAdminAndTheTallWindowWithTheHint) {
    frmLogin& login = start();
    EXPECT_TRUE(login.visible());
    EXPECT_EQ(login.caption(), QStringLiteral(" Pellicant - Login"));
    EXPECT_EQ(login.txtUsuario.text(), QStringLiteral("admin"));
    EXPECT_EQ(login.height(), 3780);
    EXPECT_EQ(login.zz.caption(), QStringLiteral("usuario: admin  \r\n contraseña: <dejar en blanco> "));
    // The hint lies inside the window; the password box has the focus.
    EXPECT_LE(login.zz.top() + login.zz.height(), login.scaleHeight());
    EXPECT_EQ(login.window()->focusWidget(), login.txtPass.widget());
    EXPECT_EQ(login.txtPass.lineEdit()->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(saveScreenshot(login.window(), QStringLiteral("login")).isEmpty());
    EXPECT_TRUE(host.boxes.isEmpty());
}

TEST_F(LoginTest, AdministratorLogsInAndHandsOverToTheParametersWindow) {
    frmLogin& login = start();
    logIn(login, QStringLiteral("Admin "), QString());
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_FALSE(forms::isLoaded<frmLogin>());
    ASSERT_TRUE(forms::isLoaded<frmParametrosPrueba>());
    EXPECT_TRUE(forms::instance<frmParametrosPrueba>().visible());
    EXPECT_EQ(gIdUsuario, 1);
    EXPECT_FALSE(gCategorizacion);

    const auto rows = fx.rows(QStringLiteral("select idusuario, fecha, hora from UsuariosPasadas"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toDouble(), 1);
    EXPECT_EQ(rows[0][1].toDate(), runtime::dateSerial(2026, 12, 3));
    EXPECT_NEAR(rows[0][2].toDate(), runtime::timeSerial(10, 30, 15), 1e-9);
    EXPECT_EQ(LeeSetting(QStringLiteral("AnteriorUsuario"), QString()), QStringLiteral("Admin "));
    EXPECT_EQ(LeeSetting(QStringLiteral("LOGINHELPER"), QString()), QStringLiteral("0"));

    // The next start shows the short window with the name as typed.
    restart();
    frmLogin& next = start();
    EXPECT_EQ(next.txtUsuario.text(), QStringLiteral("Admin "));
    EXPECT_EQ(next.height(), 2715);
    EXPECT_EQ(next.zz.caption(), QString());
    EXPECT_GT(next.Label3.top(), next.scaleHeight());
}

TEST_F(LoginTest, ADynamicLookupOnServerSideCursorsLogsInAlike) {
    QFile::remove(fx.spoolerFile());
    restart({.parametros = []() -> ParametersWindow& { return forms::instance<frmParametrosPrueba>(); },
             .database = {.scratch = false, .cursorLocation = std::nullopt, .settingsTable = false},
             .login = {.cursorType = data::adOpenDynamic, .lockType = data::adLockReadOnly}});
    logIn(start(), QStringLiteral("admin"), QString());
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_TRUE(forms::isLoaded<frmParametrosPrueba>());
    EXPECT_EQ(gDB->dbaccess->cursorLocation(), data::adUseServer);
    EXPECT_EQ(fx.rows(QStringLiteral("select idusuario from UsuariosPasadas")).size(), 1);
}

TEST_F(LoginTest, FailedAttemptsKeepTheWindowOpen) {
    frmLogin& login = start();
    login.txtUsuario.setText(QString());
    EXPECT_TRUE(user::click(login.cmdAceptar.widget()));
    logIn(login, QStringLiteral("ana"), QStringLiteral("mala"));
    logIn(login, QStringLiteral("baja"), QStringLiteral("baja"));
    ASSERT_EQ(host.boxes.size(), 3);
    EXPECT_EQ(host.boxes[0].text, QStringLiteral("Debe introducir un usuario y una contraseña"));
    EXPECT_EQ(host.boxes[0].caption, QStringLiteral("Tarvessin - Login"));
    EXPECT_EQ(host.boxes[0].buttons, runtime::mb::OKOnly);
    for (int i : {1, 2}) {
        EXPECT_EQ(host.boxes[i].text, QStringLiteral("Usuario o Contraseña incorrectos"));
        EXPECT_EQ(host.boxes[i].caption, QStringLiteral("Quenbrook"));
        EXPECT_EQ(host.boxes[i].buttons, runtime::mb::OKOnly);
    }
    EXPECT_TRUE(login.visible());
    EXPECT_EQ(login.txtUsuario.text(), QStringLiteral("baja"));
    EXPECT_FALSE(host.ended);
    EXPECT_EQ(fx.scalar(QStringLiteral("select count(*) from UsuariosPasadas")).toDouble(), 0);
    EXPECT_EQ(LeeSetting(QStringLiteral("AnteriorUsuario"), QStringLiteral("none")), QStringLiteral("none"));
}

TEST_F(LoginTest, BlankNameAndNullPasswordFindNoUser) {
    fx.addUser(QStringLiteral("sinclave"), QString(), {{"password", runtime::Variant::null()}});
    frmLogin& login = start();
    logIn(login, QStringLiteral("   "), QString());
    logIn(login, QStringLiteral("sinclave"), QString());
    ASSERT_EQ(host.boxes.size(), 2);
    for (const ScriptedHost::Box& box : host.boxes)
        EXPECT_EQ(box.text, QStringLiteral("Usuario o Contraseña incorrectos"));
    EXPECT_TRUE(login.visible());
}

TEST_F(LoginTest, UserWithoutTheReportsPermissionEndsTheProgram) {
    frmLogin& login = start();
    logIn(login, QStringLiteral("beto"), QStringLiteral("BETO"));
    ASSERT_EQ(host.boxes.size(), 1);
    EXPECT_EQ(host.boxes[0].text, QStringLiteral("No tiene suficiente nivel de acceso"));
    EXPECT_EQ(host.boxes[0].buttons, runtime::mb::Exclamation);
    EXPECT_EQ(host.boxes[0].caption, QStringLiteral("Quenbrook"));
    EXPECT_TRUE(host.ended);
    EXPECT_FALSE(gDB->dbaccess);
    EXPECT_FALSE(gDB->spooler);
    EXPECT_EQ(gIdUsuario, 3);
    EXPECT_FALSE(forms::isLoaded<frmParametrosPrueba>());
    EXPECT_EQ(fx.scalar(QStringLiteral("select count(*) from UsuariosPasadas")).toDouble(), 0);
}

TEST_F(LoginTest, PermissionColumnMustHoldTheNumberOne) {
    fx.addUser(QStringLiteral("menos"), QStringLiteral("x"), {{"reportes", -1}});
    fx.addUser(QStringLiteral("nulo"), QStringLiteral("x"), {{"reportes", runtime::Variant::null()}});
    for (const char* name : {"menos", "nulo"}) {
        host.boxes.clear();
        restart();
        frmLogin& login = start();
        logIn(login, QString::fromLatin1(name), QStringLiteral("x"));
        ASSERT_EQ(host.boxes.size(), 1) << name;
        EXPECT_EQ(host.boxes[0].text, QStringLiteral("No tiene suficiente nivel de acceso"));
    }
    host.boxes.clear();
    restart();
    frmLogin& login = start();
    logIn(login, QStringLiteral("ana"), QStringLiteral(" ANA1 "));
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_TRUE(forms::isLoaded<frmParametrosPrueba>());
}

TEST_F(LoginTest, TypedQuotesStayInsideTheQuery) {
    fx.addUser(QStringLiteral("o'neill"), QStringLiteral("pa'ss"));
    frmLogin& login = start();
    logIn(login, QStringLiteral("x' or '1'='1"), QStringLiteral("x' or '1'='1"));
    ASSERT_EQ(host.boxes.size(), 1);
    EXPECT_EQ(host.boxes[0].text, QStringLiteral("Usuario o Contraseña incorrectos"));
    logIn(login, QStringLiteral("O'Neill"), QStringLiteral("pa'ss"));
    EXPECT_EQ(host.boxes.size(), 1);
    EXPECT_TRUE(forms::isLoaded<frmParametrosPrueba>());
    EXPECT_TRUE(errorLog().isEmpty());
}

TEST_F(LoginTest, CategorisationFollowsTheUserUnlessNocatExists) {
    fx.addUser(QStringLiteral("cat"), QStringLiteral("c"), {{"categorizacion", 2}});
    frmLogin& login = start();
    logIn(login, QStringLiteral("cat"), QStringLiteral("c"));
    EXPECT_TRUE(gCategorizacion);

    restart();
    QFile marker(fx.programFolder() + QStringLiteral("/nocat.txt"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    frmLogin& again = start();
    logIn(again, QStringLiteral("cat"), QStringLiteral("c"));
    EXPECT_FALSE(gCategorizacion);
}

TEST_F(LoginTest, CancelEndsTheProgramWithTheDatabasesOpen) {
    frmLogin& login = start();
    EXPECT_TRUE(user::click(login.PictureButton2.widget()));
    EXPECT_TRUE(host.ended);
    EXPECT_TRUE(gDB->dbaccess && gDB->dbaccess->isOpen());
    EXPECT_TRUE(host.boxes.isEmpty());
}

// On either kind: the texts' collations are the connection's, never stored in the file.
TEST_F(LoginTest, ASessionThatLogsNobodyInLeavesTheDatabaseAsItWas) {
    for (const bool server : {true, false}) {
        if (server)
            fx.useSqlServer();
        else
            fx.writeIni("Directorio|" + fx.root().toUtf8() + "\r\n");
        const QString name = server ? fx.sqlServerFile() : fx.mainFile();
        const QByteArray before = fx.inRollbackJournal(name);
        frmLogin& login = start();
        logIn(login, QStringLiteral("ana"), QStringLiteral("mala"));
        if (!server) { // the program ends
            EXPECT_TRUE(user::click(login.PictureButton2.widget()));
        }
        gDB->CloseDatabase();
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll() == before) << server;
        EXPECT_FALSE(QFileInfo::exists(name + QStringLiteral("-wal")));
        restart();
    }
}

TEST_F(LoginTest, ADatabaseThatDidNotOpenIsReportedWithItsReasonAndTheWindowStays) {
    SilentServer silent;
    const QByteArray server = "Provider=SQLOLEDB;Data Source=127.0.0.1,";
    const struct {
        QByteArray ini;  // after Directorio
        QString reason;  // the start of the driver's or the engine's text
        bool garbleFile; // db.mdb is not a database
    } cases[] = {
        {"DBKIND|2\r\nCONNSTRING|\r\n", "Data source name not found", false},
        {"DBKIND|2\r\nCONNSTRING|" + server + QByteArray::number(closedLocalPort()) +
             ";initial catalog=pos;User ID=sa;Password=x\r\n",
         "[FreeTDS]", false},
        {"DBKIND|2\r\nCONNSTRING|" + server + QByteArray::number(silent.port()) +
             ";initial catalog=pos;User ID=sa;Password=x;Connect Timeout=1\r\n",
         "[FreeTDS]", false},
        {"DBKIND|2\r\nCONNSTRING|Provider=SQLOLEDB;Data Source=caja;Integrated Security=SSPI\r\n",
         "Integrated Security", false},
        {"DBKIND|1\r\n", "Unrecognized database format '" + fx.root() + "\\db\\db.mdb'.", true},
    };
    for (const auto& c : cases) {
        QFile::remove(fx.programFolder() + QStringLiteral("/ErrorLog031226.log"));
        host.boxes.clear();
        fx.writeIni("Directorio|" + fx.root().toUtf8() + "\r\n" + c.ini);
        if (c.garbleFile) {
            QFile file(fx.mainFile());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
        }
        frmLogin& login = start();
        EXPECT_FALSE(gDB->dbaccess->isOpen());
        const QString reason = gDB->openError();
        EXPECT_TRUE(reason.startsWith(c.reason)) << reason.toStdString();
        // The start-up logged the reason; each attempt to log in shows it.
        for (int attempt = 1; attempt <= 2; ++attempt) {
            logIn(login, QStringLiteral("admin"), QString());
            ASSERT_EQ(host.boxes.size(), attempt);
            EXPECT_EQ(host.boxes.last().text,
                      QStringLiteral("No se puede conectar con la base de datos.\r\n\r\n") + reason);
            EXPECT_EQ(host.boxes.last().buttons, runtime::mb::Critical);
            EXPECT_EQ(host.boxes.last().caption, QStringLiteral("Quenbrook"));
        }
        EXPECT_FALSE(host.ended);
        EXPECT_TRUE(login.visible());
        const QStringList lines = errorLog().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(
            lines[0].endsWith(QStringLiteral("(") + reason +
                              QStringLiteral(") in procedure OpenAccess of Módulo de clase clsDataBase")))
            << lines[0].toStdString();
        restart();
    }
}

TEST_F(LoginTest, UnreadableHelperSettingKeepsTheDesignedWindow) {
    GrabaSetting(QStringLiteral("LOGINHELPER"), QStringLiteral("quizas"));
    GrabaSetting(QStringLiteral("AnteriorUsuario"), QStringLiteral("ana"));
    frmLogin& login = start();
    EXPECT_EQ(login.txtUsuario.text(), QStringLiteral("ana"));
    EXPECT_EQ(login.height(), 2715);
    EXPECT_EQ(login.zz.caption(), QString());
    EXPECT_TRUE(errorLog().contains(QStringLiteral("in procedure Form_Load of Formulario frmLogin")));
}

} // namespace

namespace {

TEST_F(LoginTest, MissingDatabaseEndsTheProgramBeforeTheLogin) {
    ASSERT_TRUE(QFile::remove(fx.mainFile()));
    forms::fire([] { Main(); });
    ASSERT_EQ(host.boxes.size(), 1);
    EXPECT_TRUE(host.boxes[0].text.startsWith(QStringLiteral("No se puede encontrar la base de datos, ")));
    EXPECT_TRUE(host.boxes[0].text.endsWith(QStringLiteral("\\db\\db.mdb")));
    EXPECT_EQ(host.boxes[0].caption, QStringLiteral("Quenbrook"));
    EXPECT_TRUE(host.ended);
    EXPECT_FALSE(forms::isLoaded<frmLogin>());
}

// A name stored with a trailing blank: SQL Server ignores the blank in its comparison, Access
// does not.
TEST_F(LoginTest, ANameStoredWithATrailingBlankLogsInOnSqlServerAlone) {
    const qint64 id = fx.addUser(QStringLiteral("flor "), QStringLiteral("flor"));
    logIn(start(), QStringLiteral("flor"), QStringLiteral("flor"));
    ASSERT_EQ(host.boxes.size(), 1);
    EXPECT_EQ(host.boxes[0].text, QStringLiteral("Usuario o Contraseña incorrectos"));
    restart();
    fx.useSqlServer();
    logIn(start(), QStringLiteral("flor"), QStringLiteral("flor"));
    EXPECT_EQ(host.boxes.size(), 1);
    EXPECT_TRUE(forms::isLoaded<frmParametrosPrueba>());
    EXPECT_EQ(gIdUsuario, id);
}

TEST_F(LoginTest, AUserWithAccentedCapitalsLogsIn) {
    const qint64 id = fx.addUser(QStringLiteral("Ángel"), QStringLiteral("Ñoño"));
    frmLogin& login = start();
    logIn(login, QStringLiteral("ÁNGEL"), QStringLiteral("ñoño"));
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_TRUE(forms::isLoaded<frmParametrosPrueba>());
    EXPECT_EQ(gIdUsuario, id);
}

} // namespace
