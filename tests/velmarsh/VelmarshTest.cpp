#include "VelmarshTest.h"

#include "invoice_lines/Velmarsh.h"

#include "forms/Events.h"
#include "framework/Main.h"
#include "framework/frmLogin.h"
#include "runtime/DateSerial.h"
#include "support/UserInput.h"

#include <QFile>

void VelmarshTest::SetUp() {
    runtime::setClock([] { return QDateTime(QDate(2026, 12, 3), QTime(10, 30, 15)); });
    framework::install(velmarsh::program());
}

void VelmarshTest::TearDown() {
    framework::install({}); // drops the report and its preview
    forms::unloadAll();
    runtime::setClock(nullptr);
}

velmarsh::frmParametros& VelmarshTest::logIn() {
    forms::fire([] { framework::Main(); });
    framework::frmLogin& login = forms::instance<framework::frmLogin>();
    EXPECT_TRUE(user::type(login.txtPass.widget(), QStringLiteral("\r")));
    EXPECT_TRUE(forms::isLoaded<velmarsh::frmParametros>());
    return forms::instance<velmarsh::frmParametros>();
}

void VelmarshTest::verListado(velmarsh::frmParametros& window, const runtime::Variant& desde,
                              const runtime::Variant& hasta) {
    window.dtdesde.setValue(desde);
    window.dthasta.setValue(hasta);
    EXPECT_TRUE(user::click(window.cmdVerListado.widget()));
}

QVector<QVector<runtime::Variant>> VelmarshTest::tmpreport() {
    return fx.rows(QStringLiteral("select * from tmpreport"), fx.spooler());
}

QString VelmarshTest::errorLog() const {
    QFile file(fx.programFolder() + QStringLiteral("/ErrorLog031226.log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
