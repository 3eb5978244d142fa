#include "DorrindaleTest.h"

void DorrindaleTest::SetUp() {
    QFile::remove(fx.spoolerFile());
    ProgramTest::SetUp();
}

dorrindale::arDorrindale& DorrindaleTest::verListado(dorrindale::frmParametros& window, double desde,
                                                     double hasta) {
    window.dtdesde.setValue(runtime::Variant::date(desde));
    window.dthasta.setValue(runtime::Variant::date(hasta));
    return verListado(window);
}

dorrindale::arDorrindale& DorrindaleTest::verListado(dorrindale::frmParametros& window) {
    EXPECT_TRUE(user::click(window.cmdVerListado.widget()));
    return framework::report<dorrindale::arDorrindale>();
}

QStringList DorrindaleTest::names(const forms::ListView& lv, bool selectedOnly) {
    QStringList result;
    for (int i = 1; i <= lv.count(); ++i)
        if (!selectedOnly || lv.selected(i)) result << lv.subItem(i, 1);
    return result;
}
