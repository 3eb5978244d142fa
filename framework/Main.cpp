#include "Main.h"

#include "ProgramDescription.h"
#include "clsDataBase.h"
#include "frmLogin.h"

#include <memory>

namespace framework {

void Main() {
    static std::unique_ptr<clsDataBase> database;
    database = std::make_unique<clsDataBase>(program().database);
    gDB = database.get();
    gDB->OpenAccess();
    forms::instance<frmLogin>().show();
}

} // namespace framework
