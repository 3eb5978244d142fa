#include "QuenbrookTest.h"

#include "deleted_items/Quenbrook.h"

#include "forms/Events.h"
#include "framework/Main.h"
#include "framework/frmLogin.h"
#include "runtime/DateSerial.h"
#include "support/UserInput.h"

#include <QFile>

using namespace framework;
using namespace quenbrook;

namespace {

QDateTime fixedNow() {
    return QDateTime(QDate(2026, 12, 3), QTime(10, 30, 15));
}

} // namespace

void QuenbrookTest::SetUp() {
    runtime::setClock(fixedNow);
    install(quenbrook::program());
}

void QuenbrookTest::TearDown() {
    install({}); // drops the report and its preview
    forms::unloadAll();
    runtime::setClock(nullptr);
}

frmParametros& QuenbrookTest::logIn() {
    forms::fire([] { Main(); });
    frmLogin& login = forms::instance<frmLogin>();
    EXPECT_TRUE(user::type(login.txtPass.widget(), QStringLiteral("\r")));
    EXPECT_TRUE(forms::isLoaded<frmParametros>());
    return forms::instance<frmParametros>();
}

void QuenbrookTest::setRange(frmParametros& window, const runtime::Variant& desde,
                             const runtime::Variant& hasta) {
    window.dtdesde.setValue(desde);
    window.dthasta.setValue(hasta);
}

void QuenbrookTest::verListado(frmParametros& window) {
    EXPECT_TRUE(user::click(window.cmdVerListado.widget()));
}

QVector<QVector<runtime::Variant>> QuenbrookTest::tmpreport() {
    return fx.rows(QStringLiteral("select * from tmpreport"), fx.spooler());
}

QString QuenbrookTest::errorLog() const {
    QFile file(fx.programFolder() + QStringLiteral("/ErrorLog031226.log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
