#include <iostream>

#include "manual.h"

int main(int argc, char** argv) {
    return sq::manual::runMkmanual(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
}
