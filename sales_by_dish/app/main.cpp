#include "framework/Main.h"
#include "sales_by_dish/Dorrindale.h"

int main(int argc, char** argv) {
    return framework::run(argc, argv, dorrindale::program());
}
