#include <cstdio>

int main()
{
    std::puts("Velkora: the main window is not built yet.");
    return 0;
}
