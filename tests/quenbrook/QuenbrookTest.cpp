#include "QuenbrookTest.h"

void QuenbrookTest::setRange(quenbrook::frmParametros& window, const runtime::Variant& desde,
                             const runtime::Variant& hasta) {
    window.dtdesde.setValue(desde);
    window.dthasta.setValue(hasta);
}

void QuenbrookTest::verListado(quenbrook::frmParametros& window) {
    EXPECT_TRUE(user::click(window.cmdVerListado.widget()));
}
