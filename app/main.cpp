#include "program.h"

int main(int argc, char* argv[]) {
    return filmarin::runFilmarin(argc, argv);
}
