#include "shell/application.h"

int main(int argc, char** argv)
{
    return vesk::RunEditor(argc, argv);
}
