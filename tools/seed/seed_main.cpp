#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

#include "tools/seed/seeder.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    return seed::RunSeedCommand(args, std::cout, std::cerr);
}
