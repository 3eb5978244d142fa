#include "framework/Main.h"
#include "invoice_lines/Velmarsh.h"

int main(int argc, char** argv) {
    return framework::run(argc, argv, velmarsh::program());
}
