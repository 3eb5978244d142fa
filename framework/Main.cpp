#include "Main.h"

#include "clsDataBase.h"
#include "frmLogin.h"

#include <memory>

void Main() {
    static std::unique_ptr<clsDataBase> database;
    database = std::make_unique<clsDataBase>();
    gDB = database.get();
    gDB->OpenAccess();
    forms::instance<frmLogin>().show();
}
