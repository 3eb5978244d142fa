#include "Main.h"

#include "clsDataBase.h"

#include <memory>

namespace {

std::function<void()>& showLoginHook() {
    static std::function<void()> hook;
    return hook;
}

} // namespace

void setShowLogin(std::function<void()> showLogin) {
    showLoginHook() = std::move(showLogin);
}

void Main() {
    static std::unique_ptr<clsDataBase> database;
    database = std::make_unique<clsDataBase>();
    gDB = database.get();
    gDB->OpenAccess();
    if (showLoginHook()) showLoginHook()();
}
