#include "QuenbrookTest.h"

void QuenbrookTest::setRange(quenbrook::frmParametros& window, const runtime::Variant& desde,
                             const runtime::Variant& hasta) {
    window.dtdesde.setValue(desde);
    window.dthasta.setValue(hasta);
}

void QuenbrookTest::verListado(quenbrook::frmParametros& window) {
    EXPECT_TRUE(user::click(window.cmdVerListado.widget()));
}

quenbrook::ActiveReport1& QuenbrookTest::firstOfDecember(quenbrook::frmParametros& window) {
    setRange(window, posdb::day(2026, 12, 1), posdb::day(2026, 12, 1));
    verListado(window);
    return framework::report<quenbrook::ActiveReport1>();
}
