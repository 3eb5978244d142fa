#include "Main.h"

#include "ProgramSession.h"
#include "clsDataBase.h"
#include "frmLogin.h"

#include "forms/Application.h"

#include <QApplication>

namespace framework {

void Main() {
    gDB = &ProgramSession::current().newDatabase();
    gDB->OpenAccess();
    forms::instance<frmLogin>().show();
}

int run(int argc, char** argv, ProgramDescription description) {
    QApplication app(argc, argv);
    ProgramSession session(std::move(description));
    return forms::runProgram(session.description().title, [] { Main(); });
}

} // namespace framework
