#include "VelmarshTest.h"

void VelmarshTest::verListado(velmarsh::frmParametros& window, const runtime::Variant& desde,
                              const runtime::Variant& hasta) {
    window.dtdesde.setValue(desde);
    window.dthasta.setValue(hasta);
    EXPECT_TRUE(user::click(window.cmdVerListado.widget()));
}
