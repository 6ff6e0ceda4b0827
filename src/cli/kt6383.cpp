// kt6383: the command-line tool over the core library.
#include <cstdio>

int main(int argc, char** argv)
{
    std::fprintf(stderr, "usage: kt6383 <command> ...\n");
    return 2;
}
