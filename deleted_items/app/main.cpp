#include "framework/Main.h"
#include "deleted_items/Quenbrook.h"

int main(int argc, char** argv) {
    return framework::run(argc, argv, quenbrook::program());
}
