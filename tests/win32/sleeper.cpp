// A program that only waits: run by the tests under the names of
// definitions, to be found and ended by the process sweep.
#include <windows.h>

int main() {
    Sleep(60000);
    return 3;
}
